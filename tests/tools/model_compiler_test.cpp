// The model compiler on small dictionary files written by the tests: what
// the compiled model holds, that it is deterministic, and that broken
// inputs are refused without leaving a model behind.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "bopomofo/reading_codec.h"
#include "compiler_fixture.h"
#include "model/model_database.h"
#include "table/associated_phrases.h"
#include "table/dictionary_queries.h"
#include "support/temp_dir.h"

namespace ferrolune {
namespace {

using table::DictionaryTable;
using test::kTotal;
using test::write_file;

std::string read_bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string key_of(std::string_view bopomofo) {
  const auto encoded = bopomofo::encode_reading(bopomofo);
  return encoded ? encoded->qstring : std::string("?");
}

// The first field of every record of a data file, unescaped.
std::vector<std::string> data_keys(const std::string& name) {
  std::ifstream in(std::filesystem::path(FERROLUNE_DATA_DIR) / name);
  std::vector<std::string> keys;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line.front() == '#') continue;
    std::string key;
    const std::string field = line.substr(0, line.find('\t'));
    for (std::size_t i = 0; i < field.size(); ++i) {
      if (field[i] == '\\' && i + 1 < field.size()) {
        const char escaped = field[++i];
        key += escaped == 's' ? ' ' : escaped == 't' ? '\t' : escaped;
      } else {
        key += field[i];
      }
    }
    keys.push_back(key);
  }
  return keys;
}

class ModelCompilerTest : public ::testing::Test {
 protected:
  test::ToolRun compile(const std::filesystem::path& output,
                        const std::filesystem::path& data = FERROLUNE_DATA_DIR) {
    return test::compile_sources(dir_.path(), output, data);
  }
  void reset_sources() { test::write_fixture_sources(dir_.path()); }
  void SetUp() override { reset_sources(); }

  test::TempDir dir_;
};

TEST_F(ModelCompilerTest, CompiledModelHoldsRankedReadingsWordsCodesAndData) {
  const auto model_path = dir_.file("out/ZezAri.db");
  const auto run = compile(model_path);
  ASSERT_EQ(run.status, 0) << run.output;
  auto model = model::open_model_database(model_path.string());
  ASSERT_TRUE(model) << model.error().message();

  using Values = std::vector<std::string>;
  const auto values = [&](DictionaryTable table, const std::string& key) {
    return table::query_values(*model, table, key).value_or(Values{"query failed"});
  };
  const auto unigram = [&](const std::string& key, const std::string& text) -> double {
    for (const auto& row : table::query_unigrams(*model, key).value_or(std::vector<model::Unigram>{})) {
      if (row.current == text) return row.probability;
    }
    return NAN;
  };

  // Characters of a syllable by frequency, not in dictionary order; the
  // unconvertible reading is reported and costs only its own row.
  EXPECT_EQ(values(DictionaryTable::Bopomofo, key_of("ㄨㄛˇ")), (Values{"我", "婐"}));
  EXPECT_NE(run.output.find("readings not converted: 1"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("wo9"), std::string::npos) << run.output;
  // "r5" is ㄦ˙, not ㄖ˙.
  EXPECT_EQ(values(DictionaryTable::Bopomofo, key_of("ㄦ˙")), (Values{"兒"}));

  // log10 of the relative count, readings weighted by their shares, a
  // floor for a dictionary word the frequency list lacks.
  EXPECT_DOUBLE_EQ(unigram(key_of("ㄨㄛˇ"), "我"), std::log10(1000 / kTotal));
  EXPECT_DOUBLE_EQ(unigram(key_of("ㄉㄜ˙"), "的"), std::log10(5000 * 0.9 / kTotal));
  EXPECT_DOUBLE_EQ(unigram(key_of("ㄉㄧˋ"), "的"), std::log10(5000 * 0.1 / kTotal));
  EXPECT_DOUBLE_EQ(unigram(key_of("ㄐㄧㄣ,ㄊㄧㄢ"), "今天"), std::log10(200 / kTotal));
  EXPECT_DOUBLE_EQ(unigram(key_of("ㄑㄧˋ,ㄊㄧㄢ"), "氣天"), std::log10(0.5 / kTotal));
  // A listed word the dictionary lacks gets its characters' readings.
  EXPECT_DOUBLE_EQ(unigram(key_of("ㄊㄧㄢ,ㄑㄧˋ"), "天氣"), std::log10(50 / kTotal));
  EXPECT_DOUBLE_EQ(unigram(key_of("ㄐㄧㄣ,ㄊㄧㄢ,ㄑㄧˋ"), "今天氣"), std::log10(3 / kTotal));
  // 一 is a polyphone of the group F0#: its words are also under the alias.
  EXPECT_DOUBLE_EQ(unigram("F0#" + key_of("ㄍㄜˋ"), "一個"), std::log10(400 / kTotal));
  EXPECT_TRUE(std::isnan(unigram("F0#" + key_of("ㄍㄜˋ"), "個")));
  const auto fallback = table::query_unigrams(*model, "*");
  ASSERT_TRUE(fallback && fallback->size() == 1);
  EXPECT_LT(fallback->front().probability, std::log10(0.5 / kTotal));
  ASSERT_TRUE(table::query_bigrams(*model, "").has_value());

  // Cangjie by frequency; Simplex from the first and last letters, without
  // the auxiliary z code.
  EXPECT_EQ(values(DictionaryTable::Cangjie, "hqi"), (Values{"我", "牫"}));
  EXPECT_EQ(values(DictionaryTable::Cangjie, "z"), (Values{"我"}));
  EXPECT_EQ(values(DictionaryTable::Simplex, "hi"), (Values{"的", "我", "牫"}));
  EXPECT_EQ(values(DictionaryTable::Simplex, "z"), Values{});
  for (const auto table : {DictionaryTable::Cangjie, DictionaryTable::Simplex}) {
    EXPECT_EQ(values(table, "__property_keyname-a"), (Values{"日"}));
    EXPECT_EQ(values(table, "__property_keyname-z"), (Values{"重"}));
    EXPECT_EQ(values(table, "__property_selkey"), (Values{"1234567890"}));
    EXPECT_EQ(values(table, "__property_endkey"), (Values{""}));
  }

  // Every key the data files define has its values in the model.
  for (const char* name : {"punctuation.txt", "control_lists.txt"}) {
    const auto keys = data_keys(name);
    EXPECT_GT(keys.size(), 10u) << name;
    for (const auto& key : keys) EXPECT_FALSE(values(DictionaryTable::Bopomofo, key).empty()) << key;
  }
  for (const auto& [name, style] : {std::pair{"punctuation_halfwidth.txt", PunctuationStyle::Half},
                                    std::pair{"punctuation_mixedwidth.txt", PunctuationStyle::Mixed}}) {
    for (const auto& key : data_keys(name)) {
      EXPECT_FALSE(table::query_punctuation(*model, style, key).value_or(Values{}).empty()) << key;
    }
  }
  EXPECT_EQ(values(DictionaryTable::Bopomofo, "_punctuation_Standard_<"), (Values{"，"}));
  EXPECT_EQ(table::query_punctuation(*model, PunctuationStyle::Half, "zxab").value_or(Values{}), (Values{","}));

  // Associated phrases: continuations by frequency.
  EXPECT_EQ(table::query_associated_phrases(*model, "今", {"essay"}, false).value_or(Values{}),
            (Values{"天", "天氣"}));
}

TEST_F(ModelCompilerTest, SameInputsGiveIdenticalFiles) {
  ASSERT_EQ(compile(dir_.file("first.db")).status, 0);
  ASSERT_EQ(compile(dir_.file("second.db")).status, 0);
  const std::string first = read_bytes(dir_.file("first.db"));
  EXPECT_GT(first.size(), 0u);
  EXPECT_TRUE(first == read_bytes(dir_.file("second.db")));
}

TEST_F(ModelCompilerTest, BrokenInputsAreRefusedWithoutAModel) {
  struct Case {
    const char* file;
    std::string content;
    const char* message;
  };
  const Case cases[] = {
      {"essay.txt", "我\t1000\n的\tmany\n", "essay.txt:2"},
      {"pinyin.yaml", "---\nname: x\n我\two3\n", "does not end"},
      {"pinyin.yaml", "---\n...\n我\two3\tninety%\n", "pinyin.yaml:3"},
      {"cangjie.yaml", "---\n...\n我\n", "cangjie.yaml:3"},
      {"essay.txt", "我\t0\n", "counts no occurrence"},
  };
  for (const auto& broken : cases) {
    reset_sources();
    write_file(dir_.file(broken.file), broken.content);
    const auto output = dir_.file("broken.db");
    const auto run = compile(output);
    EXPECT_EQ(run.status, 1) << broken.content;
    EXPECT_NE(run.output.find(broken.message), std::string::npos) << run.output;
    EXPECT_FALSE(std::filesystem::exists(output)) << broken.content;
  }

  // A data directory without its files, and a data file with a typing slip.
  reset_sources();
  std::filesystem::create_directory(dir_.file("data"));
  auto run = compile(dir_.file("broken.db"), dir_.file("data"));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("cangjie_radicals.txt"), std::string::npos) << run.output;
  for (const auto& entry : std::filesystem::directory_iterator(FERROLUNE_DATA_DIR)) {
    std::filesystem::copy_file(entry.path(), dir_.file("data") / entry.path().filename());
  }
  write_file(dir_.file("data/control_lists.txt"), "_ctrl_ab\t，\n");
  run = compile(dir_.file("broken.db"), dir_.file("data"));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("control_lists.txt:1: unknown key form"), std::string::npos) << run.output;
  EXPECT_FALSE(std::filesystem::exists(dir_.file("broken.db")));
}

}  // namespace
}  // namespace ferrolune
