#include "walker/smart_converter.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/model_database.h"
#include "support/sqlite_fixture.h"
#include "support/temp_dir.h"
#include "walker/smart_candidates.h"

namespace ferrolune::walker {
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

constexpr const char* kTwoReadings =
    "INSERT INTO unigrams VALUES ('AA', '甲', -2.0, 0.0), ('AA', '乙', -3.0, 0.0),"
    " ('BB', '丙', -2.0, 0.0), ('BB', '丁', -3.0, 0.0), ('BB', '甲', -4.0, 0.0),"
    " ('AABB', '甲丙', -3.0, 0.0), ('AABB', '乙丁', -5.0, 0.0);";

SmartConverter typed(const Model& m, std::vector<std::string> keys) {
  SmartConverter converter;
  for (auto& key : keys) {
    auto inserted = converter.insert_reading(m.get(), converter.readings().size(), key);
    EXPECT_TRUE(inserted && *inserted) << key;
  }
  return converter;
}

std::vector<std::string> texts(const std::vector<CandidateEntry>& entries) {
  std::vector<std::string> out;
  for (const auto& e : entries) out.push_back(e.text);
  return out;
}

TEST(SmartConverter, LatticeNodesAndPath) {
  Model m(kTwoReadings);
  auto c = typed(m, {"AA", "BB"});
  std::vector<std::string> keys;
  for (const auto& node : c.nodes()) keys.push_back(node.key);
  EXPECT_EQ(keys, (std::vector<std::string>{"!", "AA", "AABB", "BB", "$"}));
  EXPECT_EQ(composed_text(c), "甲丙");  // -3.0 beats -2.0 + -2.0
  EXPECT_EQ(c.segments().size(), 1u);
  auto unknown = c.insert_reading(m.get(), 0, "ZZ");
  ASSERT_TRUE(unknown);
  EXPECT_FALSE(*unknown);
  EXPECT_EQ(c.readings().size(), 2u);
}

TEST(SmartConverter, NoNodeSpansMoreThanEightPositions) {
  Model m("INSERT INTO unigrams VALUES ('AA', '甲', -2.0, 0.0);");
  auto c = typed(m, std::vector<std::string>(9, "AA"));
  for (const auto& node : c.nodes()) EXPECT_LE(node.span, 8u);
  EXPECT_EQ(composed_text(c), "甲甲甲甲甲甲甲甲甲");
}

TEST(SmartConverter, AliasKeysForPolyphones) {
  Model m(
      "INSERT INTO unigrams VALUES ('5_', '意', -2.0, 0.0), ('BB', '丙', -2.0, 0.0),"
      " ('F0#BB', '一丙', -1.0, 0.0);");
  auto c = typed(m, {"5_", "BB"});
  std::vector<std::string> keys;
  for (const auto& node : c.nodes()) keys.push_back(node.key);
  EXPECT_EQ(keys, (std::vector<std::string>{"!", "5_", "F0#", "F0#BB", "BB", "$"}));
  EXPECT_EQ(composed_text(c), "一丙");
}

TEST(SmartCandidates, EntriesByPositionAndAtEnd) {
  Model m(kTwoReadings);
  auto c = typed(m, {"AA", "BB"});
  struct Case {
    std::size_t position;
    bool at_end;
    std::vector<std::string> texts;
  } cases[] = {{0, false, {"甲丙", "乙丁", "甲", "乙"}},
               {1, false, {"甲丙", "乙丁", "丙", "丁", "甲"}},
               {1, true, {"甲", "乙"}},
               {2, true, {"甲丙", "乙丁", "丙", "丁", "甲"}},
               {2, false, {}}};
  for (const auto& k : cases) {
    EXPECT_EQ(texts(candidate_entries(c, k.position, k.at_end)), k.texts) << k.position << k.at_end;
  }
}

TEST(SmartCandidates, PinningLearnsOverridesAndWordPairs) {
  Model m(kTwoReadings);
  auto c = typed(m, {"AA", "BB"});
  LearningOptions options;
  options.candidate_overrides = true;
  options.bigrams = true;
  ASSERT_TRUE(c.reconfigure(m.get(), std::make_shared<userdata::LearningState>(), options));
  using userdata::change::BigramSet;
  using userdata::change::OverrideSet;

  ASSERT_TRUE(pin_entry(c, {"乙", "AA", 0, 1}));
  EXPECT_EQ(composed_text(c), "乙丙");
  auto changes = c.take_learning_changes();
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(std::get<OverrideSet>(changes[0]).current, std::optional<std::string>("乙"));

  ASSERT_TRUE(pin_entry(c, {"丁", "BB", 1, 1}));
  EXPECT_EQ(composed_text(c), "乙丁");
  changes = c.take_learning_changes();
  ASSERT_EQ(changes.size(), 2u);
  const auto& pair = std::get<BigramSet>(changes[1]).bigram;
  EXPECT_EQ(pair, (model::Bigram{"AA BB", "乙", "丁", -2.0}));  // the model's maximum

  ASSERT_TRUE(pin_entry(c, {"丙", "BB", 1, 1}));
  changes = c.take_learning_changes();
  ASSERT_EQ(changes.size(), 2u);
  EXPECT_EQ(std::get<OverrideSet>(changes[0]).current, std::nullopt);
  EXPECT_EQ(std::get<BigramSet>(changes[1]).bigram.current, "丙");
  EXPECT_EQ(c.language_model().smart_learning().overrides,
            (std::vector<userdata::CandidateOverride>{{"AA", "乙"}}));

  EXPECT_FALSE(pin_entry(c, {"戊", "BB", 1, 1}));
  ASSERT_TRUE(pin_entry(c, {"甲丙", "AABB", 0, 2}));
  EXPECT_EQ(composed_text(c), "甲丙");
  for (const auto& node : c.nodes()) {
    if (node.key == "AA") {
      EXPECT_FALSE(node.lock);
    }
  }
}

TEST(SmartConverter, LocksMoveWithEditsAndLeadingSegmentLocksTheNextWord) {
  Model m(kTwoReadings);
  auto c = typed(m, {"AA", "BB"});
  ASSERT_TRUE(pin_entry(c, {"丁", "BB", 1, 1}));
  ASSERT_TRUE(c.insert_reading(m.get(), 0, "AA"));
  EXPECT_EQ(composed_text(c), "甲甲丁");  // the lock moved with BB
  ASSERT_TRUE(c.delete_reading(m.get(), 1));
  EXPECT_EQ(composed_text(c), "甲丙");

  auto d = typed(m, {"AA", "BB"});
  ASSERT_TRUE(pin_entry(d, {"乙", "AA", 0, 1}));
  ASSERT_TRUE(d.delete_reading(m.get(), 0));  // no stale node may cover the deleted reading
  for (const auto& node : d.nodes()) EXPECT_NE(node.key, "AABB");
  EXPECT_EQ(composed_text(d), "丙");

  auto e = typed(m, {"AA", "BB", "AA"});
  auto taken = e.take_leading_segment();
  ASSERT_TRUE(taken);
  EXPECT_EQ(taken->text, "甲丙");
  EXPECT_EQ(taken->span, 2u);
  EXPECT_EQ(composed_text(e), "甲");
  EXPECT_TRUE(e.nodes()[1].lock);
}

TEST(SmartConverter, ReconfigureRebuildsAndKeepsLocks) {
  Model m(kTwoReadings);
  auto c = typed(m, {"AA", "BB"});
  ASSERT_TRUE(pin_entry(c, {"丁", "BB", 1, 1}));
  EXPECT_EQ(composed_text(c), "甲丁");
  auto learning = std::make_shared<userdata::LearningState>();
  learning->phrases = {{"AA", "戊", 0.0, 0.0}};
  auto changed = c.reconfigure(m.get(), learning, LearningOptions{});
  ASSERT_TRUE(changed);
  EXPECT_TRUE(*changed);
  EXPECT_EQ(composed_text(c), "戊丁");
  auto again = c.reconfigure(m.get(), std::make_shared<userdata::LearningState>(*learning), LearningOptions{});
  ASSERT_TRUE(again);
  EXPECT_FALSE(*again);
}

TEST(SmartCandidates, TextOffsetAndMarkedPhrase) {
  Model m(kTwoReadings + std::string("INSERT INTO unigrams VALUES ('CC', '庚', -1.0, 0.0);"));
  auto c = typed(m, {"AA", "BB", "CC"});
  ASSERT_EQ(composed_text(c), "甲丙庚");
  EXPECT_EQ(text_offset(c, 1), 1u);
  EXPECT_EQ(text_offset(c, 3), 3u);
  auto forward = marked_phrase(c, 0, 2);
  ASSERT_TRUE(forward);
  EXPECT_EQ(forward, marked_phrase(c, 2, 0));
  EXPECT_EQ(*forward, (MarkedPhrase{"AABB", "甲丙", 0, 2, 0, 2}));
  EXPECT_FALSE(marked_phrase(c, 3, 9));  // both clamp to the end
}

}  // namespace
}  // namespace ferrolune::walker
