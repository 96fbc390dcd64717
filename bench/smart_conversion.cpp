// Smart Mandarin conversion: the time of one key (a rollback copy of the
// converter and one reading appended, the lattice completed and walked
// again) on a generated model with 10- and 20-reading compositions; and,
// when a compiled model is present, typing quality over the development
// corpus (first choice, no learning).
//
// FERROLUNE_MODEL names the compiled model (default
// build/compiler/model/ZezAri.db), FERROLUNE_CORPUS the corpus file
// (default /work/shared/corpus/dev.citation.readings.tsv).
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string_view>
#include <string>
#include <vector>

#include "base/utf8.h"
#include "bopomofo/reading_codec.h"
#include "bopomofo/syllable.h"
#include "model/model_database.h"
#include "walker/smart_candidates.h"
#include "walker/smart_converter.h"

namespace {

using namespace ferrolune;

constexpr std::string_view kSchema = R"sql(
CREATE TABLE unigrams (qstring TEXT, current TEXT, probability REAL, backoff REAL);
CREATE TABLE bigrams (qstring TEXT, previous TEXT, current TEXT, probability REAL);
CREATE TABLE "Mandarin-bpmf-cin" (key TEXT, value TEXT);
CREATE TABLE "Generic-cj-cin" (key TEXT, value TEXT);
CREATE TABLE "Generic-simplex-cin" (key TEXT, value TEXT);
CREATE INDEX unigrams_qstring ON unigrams (qstring);
CREATE INDEX bigrams_qstring ON bigrams (qstring);
CREATE INDEX bpmf_key ON "Mandarin-bpmf-cin" (key);
)sql";

std::string key_of(int i) {
  std::string key(2, '0');
  key[0] = static_cast<char>('0' + i % 60);
  key[1] = static_cast<char>('0' + i / 60 % 60);
  return key;
}

// 300 syllables with 40 words each, 3000 two-syllable and 1000
// three-syllable words, and a bigram for every two-syllable word.
std::string generated_script() {
  // Streamed, not concatenated: g++ 12 misreports string concatenation in
  // release builds.
  std::ostringstream sql;
  sql << kSchema << "BEGIN;";
  sql << "INSERT INTO unigrams VALUES ('*', 'x', -8.0, -1.0);";
  for (int s = 0; s < 300; ++s) {
    for (int w = 0; w < 40; ++w) {
      sql << "INSERT INTO unigrams VALUES ('" << key_of(s) << "','w" << (s * 40 + w) << "',"
          << (-3.0 - w * 0.05) << ",-0.5);";
    }
  }
  for (int i = 0; i < 3000; ++i) {
    sql << "INSERT INTO unigrams VALUES ('" << key_of(i % 300) << key_of(i * 7 % 300) << "','p"
        << i << "',-4.0,-0.3);";
    sql << "INSERT INTO bigrams VALUES ('" << key_of(i % 300) << " " << key_of(i * 7 % 300)
        << "','w" << (i % 300 * 40) << "','w" << (i * 7 % 300 * 40) << "',-1.5);";
  }
  for (int i = 0; i < 1000; ++i) {
    sql << "INSERT INTO unigrams VALUES ('" << key_of(i % 300) << key_of(i * 7 % 300)
        << key_of(i * 13 % 300) << "','t" << i << "',-5.0,-0.2);";
  }
  sql << "COMMIT;";
  return sql.str();
}

void per_key(benchmark::State& state) {
  static const std::filesystem::path path = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "ferrolune-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    std::filesystem::path file = std::filesystem::path(pattern) / "generated.db";
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    if (sqlite3_exec(db, generated_script().c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
      throw std::runtime_error(sqlite3_errmsg(db));
    }
    sqlite3_close(db);
    return file;
  }();
  auto model = model::open_model_database(path.string());
  if (!model) {
    state.SkipWithError(model.error().message().c_str());
    return;
  }
  const auto readings = static_cast<int>(state.range(0));
  walker::SmartConverter converter;
  for (int i = 0; i + 1 < readings; ++i) {
    (void)converter.insert_reading(*model, converter.readings().size(), key_of(i * 7 % 300));
  }
  int next = 0;
  for (auto _ : state) {
    walker::SmartConverter copy = converter;  // the session's rollback copy
    auto inserted = copy.insert_reading(*model, copy.readings().size(), key_of(next++ % 300));
    benchmark::DoNotOptimize(inserted);
    benchmark::DoNotOptimize(copy.segments());
  }
}
BENCHMARK(per_key)->Arg(10)->Arg(20)->Unit(benchmark::kMicrosecond);


std::u32string scalars(const std::string& text) {
  std::u32string out;
  std::size_t pos = 0;
  while (auto c = base::next_scalar(text, pos)) out += *c;
  return out;
}

void corpus_typing(benchmark::State& state) {
  const char* model_env = std::getenv("FERROLUNE_MODEL");
  const char* corpus_env = std::getenv("FERROLUNE_CORPUS");
  const std::string model_path = model_env ? model_env : "build/compiler/model/ZezAri.db";
  const std::string corpus_path =
      corpus_env ? corpus_env : "/work/shared/corpus/dev.citation.readings.tsv";
  if (!std::filesystem::exists(model_path) || !std::filesystem::exists(corpus_path)) {
    state.SkipWithError("no compiled model or corpus");
    return;
  }
  auto model = model::open_model_database(model_path);
  if (!model) {
    state.SkipWithError(model.error().message().c_str());
    return;
  }
  for (auto _ : state) {
    std::ifstream corpus(corpus_path);
    std::string line;
    std::size_t characters = 0, correct = 0, clauses = 0, exact = 0;
    std::vector<double> key_ms;
    while (std::getline(corpus, line)) {
      const auto tab = line.find('\t');
      if (tab == std::string::npos) continue;
      const std::string clause = line.substr(0, tab);
      std::istringstream syllables(line.substr(tab + 1));
      walker::SmartConverter converter;
      std::string syllable;
      while (syllables >> syllable) {
        const auto key = bopomofo::syllable_qstring(bopomofo::bopomofo_syllable(syllable));
        const auto begin = std::chrono::steady_clock::now();
        walker::SmartConverter copy = converter;
        auto inserted = copy.insert_reading(*model, copy.readings().size(), key);
        if (inserted && *inserted) converter = std::move(copy);
        key_ms.push_back(std::chrono::duration<double, std::milli>(
                             std::chrono::steady_clock::now() - begin).count());
      }
      const auto want = scalars(clause);
      const auto got = scalars(walker::composed_text(converter));
      for (std::size_t i = 0; i < want.size(); ++i) correct += i < got.size() && got[i] == want[i];
      characters += want.size();
      ++clauses;
      exact += want == got;
    }
    std::sort(key_ms.begin(), key_ms.end());
    const auto at = [&](double q) { return key_ms[static_cast<std::size_t>(q * static_cast<double>(key_ms.size() - 1))]; };
    std::fprintf(stderr,
                 "corpus: %zu clauses, character accuracy %.1f %%, exact clauses %.1f %%, "
                 "per key median %.3f ms, p99 %.3f ms\n",
                 clauses, 100.0 * static_cast<double>(correct) / static_cast<double>(characters),
                 100.0 * static_cast<double>(exact) / static_cast<double>(clauses), at(0.5), at(0.99));
  }
}
BENCHMARK(corpus_typing)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
