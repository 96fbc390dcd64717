#include "smart/language_model.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/model_database.h"
#include "smart/word_score.h"
#include "support/sqlite_fixture.h"
#include "support/temp_dir.h"

namespace ferrolune::smart {
namespace {

class Model {
 public:
  explicit Model(const std::string& script) {
    test::write_sqlite(dir_.file("m.db"), std::string(test::kMinimalModelSchema) + script);
    auto opened = model::open_model_database(dir_.file("m.db").string());
    if (!opened) throw std::runtime_error(opened.error().message());
    db_.emplace(std::move(*opened));
  }
  const model::ModelDatabase& get() const { return *db_; }

 private:
  test::TempDir dir_;
  std::optional<model::ModelDatabase> db_;
};

std::vector<std::string> words_of(const WordList& list) {
  std::vector<std::string> out;
  for (const auto& row : list.rows) out.push_back(row.current);
  return out;
}

TEST(WordList, ModelRowsThenPhrasesThenDictionaryExtrasWithDefaults) {
  Model m(
      "INSERT INTO unigrams VALUES ('*', 'x', -9.0, -1.0), ('*', 'y', -7.0, -0.7);"
      "INSERT INTO unigrams VALUES ('AA', '乙', -3.0, 0.0), ('AA', '甲', -2.0, -0.5);"
      "INSERT INTO \"Mandarin-bpmf-cin\" VALUES ('AA', '戊'), ('AA', '甲'), ('AA', '己');");
  auto learning = std::make_shared<userdata::LearningState>();
  learning->phrases = {{"AA", "辛", -2.0, 0.0}, {"AA", "甲", -2.0, -0.5}};
  auto refuse = +[](void*, const char* text, std::uint64_t length) {
    return std::string_view(text, length) == "己" ? 0 : 1;
  };
  LanguageModel lm(std::make_shared<table::CandidateFilter>(refuse, nullptr));
  lm.install(learning, LearningSwitches{});
  auto list = lm.word_list(m.get(), "AA");
  ASSERT_TRUE(list);
  EXPECT_EQ(words_of(**list), (std::vector<std::string>{"甲", "辛", "乙", "戊"}));
  EXPECT_DOUBLE_EQ((*list)->rows.back().probability, -7.0);  // the default, though above the rest
  EXPECT_EQ(lm.defaults(), (ScoringDefaults{-7.0, -0.7}));
}

TEST(WordList, PassthroughKeysAndDefaultsWithoutStarRows) {
  Model m("");
  LanguageModel lm;
  struct Case {
    std::string key;
    std::vector<std::string> words;
  } cases[] = {{"_passthru_a ", {"a"}},      {"_passthru_space ", {" "}},
               {"_passthru_ b ", {" b"}},   {"_passthru_a b ", {}},
               {"_passthru_ ", {}},         {"_passthru_a", {}}};
  for (const auto& c : cases) {
    auto list = lm.word_list(m.get(), c.key);
    ASSERT_TRUE(list);
    EXPECT_EQ(words_of(**list), c.words) << c.key;
  }
  EXPECT_EQ(lm.defaults(), (ScoringDefaults{0.0, 0.0}));
}

TEST(WordList, CacheEvictsTheEarliestKeyButModelRowsAreNotQueriedTwice) {
  Model m("INSERT INTO unigrams VALUES ('k0', 'a', -1.0, 0.0);");
  LanguageModel lm;
  for (int i = 0; i <= 200; ++i) ASSERT_TRUE(lm.word_list(m.get(), "k" + std::to_string(i)));
  const auto queries = lm.model_rows().queries();
  auto again = lm.word_list(m.get(), "k0");
  ASSERT_TRUE(again);
  EXPECT_EQ(words_of(**again), (std::vector<std::string>{"a"}));
  EXPECT_EQ(lm.model_rows().queries(), queries);
}

TEST(WordScore, BackoffPairsAndSwitch) {
  WordList words(std::vector<model::Unigram>{{"CC", "丙", -2.5, 0.0}});
  WordList previous(std::vector<model::Unigram>{{"BB", "乙", -1.0, -0.4}});
  struct Case {
    double pair;
    bool use_bigrams;
    std::string word;
    double score;
  } cases[] = {{-0.1, true, "丁", -0.1}, {-3.0, true, "丙", -2.9}, {-2.9, true, "丙", -2.9},
               {-0.1, false, "丙", -2.5}};
  for (const auto& c : cases) {
    std::vector<model::Bigram> rows{{"BB CC", "乙", "丁", c.pair}};
    PairTable pairs(rows);
    ScoredNode node{nullptr, &words, &pairs, &previous.backoffs};
    auto scored = word_score(node, "乙", c.use_bigrams, ScoringDefaults{});
    EXPECT_EQ(scored.word, c.word) << c.pair;
    EXPECT_DOUBLE_EQ(scored.score, c.score) << c.pair;
  }
  WordList empty;
  auto none = word_score(ScoredNode{nullptr, &empty, nullptr, nullptr}, "", true,
                         ScoringDefaults{-5.0, -1.0});
  EXPECT_EQ(none.word, "");
  EXPECT_DOUBLE_EQ(none.score, -6.0);
}

TEST(PairList, LearnedBigramReplacesModelRows) {
  Model m("INSERT INTO bigrams VALUES ('AA BB', '甲', '丙', -1.0);");
  auto learning = std::make_shared<userdata::LearningState>();
  learning->bigrams = {{"AA BB", "甲", "丁", -0.5}};
  LanguageModel lm;
  lm.install(learning, LearningSwitches{true, false, true});
  auto table = lm.pair_list(m.get(), "AA BB");
  ASSERT_TRUE(table);
  ASSERT_NE((*table)->find("甲"), nullptr);
  EXPECT_EQ((*table)->find("甲")->front().word, "丁");
  lm.install(learning, LearningSwitches{});
  table = lm.pair_list(m.get(), "AA BB");
  ASSERT_TRUE(table);
  EXPECT_EQ((*table)->find("甲")->front().word, "丙");
}

}  // namespace
}  // namespace ferrolune::smart
