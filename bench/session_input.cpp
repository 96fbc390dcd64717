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

// The reading key of one syllable, from the engine's codec.
std::string syllable_key(const std::string& reading) {
  const std::string request = R"({"operation":"encode","reading":")" + reading + R"("})";
  ferrolune_result* result = nullptr;
  if (ferrolune_reading_codec(request.data(), request.size(), &result) != FERROLUNE_OK) return "";
  uint64_t required = 0;
  ferrolune_result_read(result, nullptr, 0, &required);
  std::string answer(required, '\0');
  ferrolune_result_read(result, answer.data(), required, &required);
  ferrolune_result_free(&result);
  const std::string marker = "\"qstring\":\"";
  const auto start = answer.find(marker) + marker.size();
  return answer.substr(start, answer.find('"', start) - start);
}

// A model with the tables the engine checks and one syllable's characters,
// in a temporary directory removed at exit.
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
    // Twelve characters for one syllable, so that its tone opens a list.
    const std::string key = syllable_key("ㄅㄚˇ");
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO \"Mandarin-bpmf-cin\" VALUES (?1, ?2)", -1, &insert, nullptr);
    for (const char* value : {"把", "靶", "鈀", "叭", "吧", "巴", "芭", "疤", "捌", "笆", "粑", "耙"}) {
      sqlite3_bind_text(insert, 1, key.data(), static_cast<int>(key.size()), SQLITE_TRANSIENT);
      sqlite3_bind_text(insert, 2, value, -1, SQLITE_TRANSIENT);
      sqlite3_step(insert);
      sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
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

// Traditional Bopomofo: the three keys of a syllable (the tone opens its
// list) and the choice of its second candidate, four round trips.
void BM_TraditionalSyllableAndSelect(benchmark::State& state) {
  static const BenchModel model;
  ferrolune_session* session = nullptr;
  if (ferrolune_session_new(model.path().data(), model.path().size(), nullptr, 0, &session) != FERROLUNE_OK) {
    state.SkipWithError("could not create a session");
    return;
  }
  const std::string operations[] = {R"({"type":"character","text":"1"})", R"({"type":"character","text":"8"})",
                                    R"({"type":"character","text":"3"})", R"({"type":"select","index":1})"};
  std::string answer;
  for (auto _ : state) {
    for (const std::string& operation : operations) {
      ferrolune_result* result = nullptr;
      if (ferrolune_session_input(session, operation.data(), operation.size(), &result) != FERROLUNE_OK) {
        state.SkipWithError("an operation failed");
        ferrolune_session_free(&session);
        return;
      }
      uint64_t required = 0;
      ferrolune_result_read(result, nullptr, 0, &required);
      answer.resize(required);
      ferrolune_result_read(result, answer.data(), required, &required);
      ferrolune_result_free(&result);
      benchmark::DoNotOptimize(answer.data());
    }
  }
  if (answer.find("\"commit\":\"靶\"") == std::string::npos) state.SkipWithError("the choice was not committed");
  const auto iterations = static_cast<double>(state.iterations());
  state.counters["ops"] = benchmark::Counter(4 * iterations, benchmark::Counter::kIsRate);
  state.counters["syllables"] = benchmark::Counter(iterations, benchmark::Counter::kIsRate);
  ferrolune_session_free(&session);
}

}  // namespace

BENCHMARK(BM_ResetRoundTrip);
BENCHMARK(BM_TraditionalSyllableAndSelect);
BENCHMARK(BM_KeyRoundTrip);
