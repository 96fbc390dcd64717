// Prefix lookup of a one-letter Cangjie key: the exact candidates of the
// key plus the ranked completions from every longer code that starts with
// it. The model is generated here: 120,000 codes spread over the 26
// letters ("Spread", about 4,600 codes under each letter), or 100,000
// codes all under "a" plus 20,000 others ("OneLetter", the worst case for
// the bounded completion list). Prints lookups per second and the rows the
// completion query streams per lookup.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

#include "base/utf8.h"
#include "model/model_database.h"
#include "table/table_lookup.h"

namespace {

using namespace ferrolune;

constexpr std::string_view kSchema = R"sql(
CREATE TABLE unigrams (qstring TEXT, current TEXT, probability REAL, backoff REAL);
CREATE TABLE bigrams (qstring TEXT, previous TEXT, current TEXT, probability REAL);
CREATE TABLE "Mandarin-bpmf-cin" (key TEXT, value TEXT);
CREATE TABLE "Generic-cj-cin" (key TEXT, value TEXT);
CREATE TABLE "Generic-simplex-cin" (key TEXT, value TEXT);
CREATE INDEX "Generic-cj-cin_key" ON "Generic-cj-cin" (key);
)sql";

void check(int rc, sqlite3* db) {
  if (rc != SQLITE_OK && rc != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(db));
}

// The n-th code of 2 to 5 letters whose first letter is `first`.
std::string longer_code(char first, std::uint64_t n) {
  std::string code(1, first);
  const std::uint64_t length = 1 + n % 4;
  for (std::uint64_t i = 0; i < length; ++i) {
    code += static_cast<char>('a' + n % 26);
    n = n / 26 + 7 * i + 3;
  }
  return code;
}

// Mostly single ideographs across U+4E00..U+9FFF (some of them common),
// every fifth value a two-character phrase.
std::string value_for(std::uint64_t n) {
  std::uint64_t state = n * 6364136223846793005u + 1442695040888963407u;
  std::string value;
  const int characters = n % 5 == 0 ? 2 : 1;
  for (int i = 0; i < characters; ++i) {
    state = state * 6364136223846793005u + 1442695040888963407u;
    base::append_utf8(value, static_cast<char32_t>(0x4E00 + (state >> 33) % 0x5200));
  }
  return value;
}

class GeneratedModel {
 public:
  GeneratedModel(std::uint64_t under_a, std::uint64_t spread) {
    std::string pattern = (std::filesystem::temp_directory_path() / "ferrolune-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    dir_ = pattern;
    const std::string path = (dir_ / "model.db").string();
    sqlite3* db = nullptr;
    check(sqlite3_open(path.c_str(), &db), db);
    check(sqlite3_exec(db, std::string(kSchema).c_str(), nullptr, nullptr, nullptr), db);
    check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
    sqlite3_stmt* insert = nullptr;
    check(sqlite3_prepare_v2(db, "INSERT INTO \"Generic-cj-cin\" VALUES (?1, ?2)", -1, &insert,
                             nullptr),
          db);
    const auto add = [&](const std::string& key, const std::string& value) {
      sqlite3_bind_text(insert, 1, key.data(), static_cast<int>(key.size()), SQLITE_TRANSIENT);
      sqlite3_bind_text(insert, 2, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
      check(sqlite3_step(insert), db);
      sqlite3_reset(insert);
    };
    add("a", "日");
    add("a", "曰");
    std::uint64_t n = 0;
    for (; n < under_a; ++n) add(longer_code('a', n), value_for(n));
    for (std::uint64_t i = 0; i < spread; ++i, ++n) {
      add(longer_code(static_cast<char>('a' + i % 26), i / 26), value_for(n));
    }
    sqlite3_finalize(insert);
    check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
    sqlite3_close(db);
    auto opened = model::open_model_database(path);
    if (!opened) throw std::runtime_error(opened.error().message());
    model_.emplace(std::move(*opened));
  }
  ~GeneratedModel() {
    model_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  GeneratedModel(const GeneratedModel&) = delete;
  GeneratedModel& operator=(const GeneratedModel&) = delete;

  const model::ModelDatabase& get() const { return *model_; }

 private:
  std::filesystem::path dir_;
  std::optional<model::ModelDatabase> model_;
};

void run_lookups(benchmark::State& state, std::uint64_t under_a, std::uint64_t spread) {
  const GeneratedModel model(under_a, spread);
  table::TableLookup lookup;
  lookup.method = table::DictionaryTable::Cangjie;
  lookup.key = "a";
  lookup.prefix = true;
  std::size_t shown = 0;
  for (auto _ : state) {
    auto result = table::lookup_table_candidates(model.get(), lookup);
    if (!result) {
      state.SkipWithError(result.error().message().c_str());
      return;
    }
    shown = result->candidates.size();
    benchmark::DoNotOptimize(result);
  }
  state.counters["lookups"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["candidates"] = static_cast<double>(shown);
  state.counters["codes_under_a"] = static_cast<double>(under_a + spread / 26);
}

void BM_PrefixLookupSpread(benchmark::State& state) { run_lookups(state, 0, 120000); }
void BM_PrefixLookupOneLetter(benchmark::State& state) { run_lookups(state, 100000, 20000); }

BENCHMARK(BM_PrefixLookupSpread)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrefixLookupOneLetter)->Unit(benchmark::kMillisecond);

}  // namespace
