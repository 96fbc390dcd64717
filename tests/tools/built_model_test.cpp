// The model built in the build tree from the open dictionary files, when
// this build made one (optimised builds do; see FERROLUNE_BUILD_MODEL).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "bopomofo/reading_codec.h"
#include "model/model_database.h"
#include "table/associated_phrases.h"
#include "table/dictionary_queries.h"

namespace ferrolune {
namespace {

using table::DictionaryTable;
using Values = std::vector<std::string>;

std::string key_of(std::string_view bopomofo) {
  const auto encoded = bopomofo::encode_reading(bopomofo);
  return encoded ? encoded->qstring : std::string("?");
}

bool contains(const Values& values, const std::string& text) {
  return std::ranges::find(values, text) != values.end();
}

class BuiltModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(FERROLUNE_BUILT_MODEL)) GTEST_SKIP() << "no model was built in this tree";
    auto opened = model::open_model_database(FERROLUNE_BUILT_MODEL);
    ASSERT_TRUE(opened) << opened.error().message();
    model_.emplace(std::move(*opened));
  }
  Values values(DictionaryTable table, const std::string& key) {
    return table::query_values(*model_, table, key).value_or(Values{"query failed"});
  }
  Values words(const std::string& key) {
    Values out;
    for (const auto& row : table::query_unigrams(*model_, key).value_or(std::vector<model::Unigram>{})) out.push_back(row.current);
    return out;
  }
  std::optional<model::ModelDatabase> model_;
};

TEST_F(BuiltModelTest, FindsTheCommonCharactersAndWords) {
  EXPECT_EQ(values(DictionaryTable::Bopomofo, key_of("ㄨㄛˇ")).front(), "我");
  EXPECT_EQ(words(key_of("ㄨㄛˇ")).front(), "我");
  EXPECT_EQ(values(DictionaryTable::Bopomofo, key_of("ㄉㄜ˙")).front(), "的");
  EXPECT_TRUE(contains(words(key_of("ㄐㄧㄣ,ㄊㄧㄢ")), "今天"));
  EXPECT_TRUE(contains(words(key_of("ㄊㄧㄢ,ㄑㄧˋ")), "天氣"));
  EXPECT_TRUE(contains(words("F0#" + key_of("ㄍㄜˋ")), "一個"));
  EXPECT_TRUE(contains(words("L_#" + key_of("ㄧㄠˋ")), "不要"));
  EXPECT_EQ(words("*").size(), 1u);
}

TEST_F(BuiltModelTest, FindsCodesRadicalsAndPunctuation) {
  EXPECT_TRUE(contains(values(DictionaryTable::Cangjie, "hqi"), "我"));
  EXPECT_EQ(values(DictionaryTable::Cangjie, "hqi").front(), "我");
  EXPECT_TRUE(contains(values(DictionaryTable::Simplex, "hi"), "我"));
  EXPECT_EQ(values(DictionaryTable::Cangjie, "__property_keyname-h"), (Values{"竹"}));
  EXPECT_EQ(values(DictionaryTable::Simplex, "__property_selkey"), (Values{"1234567890"}));
  EXPECT_EQ(values(DictionaryTable::Bopomofo, "_punctuation_Standard_<"), (Values{"，"}));
  EXPECT_GT(values(DictionaryTable::Bopomofo, "_punctuation_list").size(), 10u);
  const auto phrases = table::query_associated_phrases(*model_, "今", {"essay"}, true);
  ASSERT_TRUE(phrases);
  EXPECT_TRUE(contains(*phrases, "天"));
}

}  // namespace
}  // namespace ferrolune
