// One ferrolune_session_input round trip (parse the operation, apply it,
// write the answer, read it back) on a fresh session over a small model.
// Prints operations per second and the answer size.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "ferrolune.h"

namespace {

// A model with the tables the engine checks and no rows, in a temporary
// directory removed at exit.
class BenchModel {
 public:
  BenchModel() {
    char pattern[] = "/tmp/ferrolune-bench-XXXXXX";
    dir_ = mkdtemp(pattern);
    path_ = dir_ + "/model.db";
    sqlite3* db = nullptr;
    sqlite3_open(path_.c_str(), &db);
    sqlite3_exec(db,
                 "CREATE TABLE unigrams (qstring, current, probability, backoff);"
                 "CREATE TABLE bigrams (qstring, previous, current, probability);"
                 "CREATE TABLE \"Mandarin-bpmf-cin\" (key, value);"
                 "CREATE TABLE \"Generic-cj-cin\" (key, value);"
                 "CREATE TABLE \"Generic-simplex-cin\" (key, value);",
                 nullptr, nullptr, nullptr);
    sqlite3_close(db);
  }
  ~BenchModel() { std::filesystem::remove_all(dir_); }
  const std::string& path() const { return path_; }

 private:
  std::string dir_;
  std::string path_;
};

void round_trip(benchmark::State& state, const std::string& operation) {
  static const BenchModel model;
  ferrolune_session* session = nullptr;
  if (ferrolune_session_new(model.path().data(), model.path().size(), nullptr, 0, &session) != FERROLUNE_OK) {
    state.SkipWithError("could not create a session");
    return;
  }
  std::string answer;
  for (auto _ : state) {
    ferrolune_result* result = nullptr;
    ferrolune_session_input(session, operation.data(), operation.size(), &result);
    uint64_t required = 0;
    ferrolune_result_read(result, nullptr, 0, &required);
    answer.resize(required);
    ferrolune_result_read(result, answer.data(), required, &required);
    ferrolune_result_free(&result);
    benchmark::DoNotOptimize(answer.data());
  }
  state.counters["ops"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["answer_bytes"] = static_cast<double>(answer.size() > 0 ? answer.size() - 1 : 0);
  ferrolune_session_free(&session);
}

void BM_ResetRoundTrip(benchmark::State& state) { round_trip(state, R"({"type":"reset"})"); }
void BM_KeyRoundTrip(benchmark::State& state) {
  round_trip(state, R"({"type":"key","key":"left","modifiers":{"shift":false}})");
}

}  // namespace

BENCHMARK(BM_ResetRoundTrip);
BENCHMARK(BM_KeyRoundTrip);
