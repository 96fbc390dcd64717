#include "table/associated_phrases.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "model_fixture.h"

namespace ferrolune::table {
namespace {

using model::ModelError;
using model::ModelErrorKind;
using Values = std::vector<std::string>;

TEST(QueryCollections, OrderBySortOrderThenTheChosenColumnThenRowid) {
  const FixtureModel model(R"sql(
INSERT INTO collection_names(rowid, source, display, sortorder) VALUES
  (1, 'b', 'Beta', 1), (2, 'a', 'Zeta', 1), (3, 'c', 'Alpha', 2), (4, 'e', 'Alpha', 1),
  (5, 'd', 'Alpha', 1);
)sql");
  const auto by_display = query_collections(model.get(), CollectionOrder::Display);
  ASSERT_TRUE(by_display);
  EXPECT_EQ(*by_display, (std::vector<AssociatedCollection>{{"e", "Alpha", 1},
                                                            {"d", "Alpha", 1},
                                                            {"b", "Beta", 1},
                                                            {"a", "Zeta", 1},
                                                            {"c", "Alpha", 2}}));
  const auto by_source = query_collections(model.get(), CollectionOrder::Source);
  ASSERT_TRUE(by_source);
  std::vector<std::string> sources;
  for (const auto& collection : *by_source) sources.push_back(collection.source);
  EXPECT_EQ(sources, (Values{"a", "b", "d", "e", "c"}));
}

// Collection b holds "x,y"; a holds two rows, the last of which wins, with
// an empty piece in the middle and a trailing comma; c has no row for 日.
constexpr std::string_view kPhrasesScript = R"sql(
INSERT INTO associated_phrases(headchar, source, data) VALUES
  ('日', 'b', 'x,y'),
  ('日', 'a', 'old'),
  ('月', 'a', 'moon'),
  ('日', 'a', 'x,,w,'),
  ('日', 'd', ',q');
)sql";

TEST(QueryAssociatedPhrases, CollectsPiecesInPriorityOrderOnce) {
  const FixtureModel model(kPhrasesScript);
  struct Case {
    Values collections;
    bool omit_empty;
    Values expected;
  };
  const Case cases[] = {
      {{"b", "a"}, false, {"x", "y", "", "w"}},
      {{"b", "a"}, true, {"x", "y", "w"}},
      {{"a", "b"}, false, {"x", "", "w", "y"}},
      {{"a", "b", "a"}, false, {"x", "", "w", "y"}},
      {{"c", "d"}, false, {"", "q"}},
      {{"c", "d"}, true, {"q"}},
      {{"c"}, false, {}},
      {{}, false, {}},
  };
  for (const Case& c : cases) {
    const auto phrases = query_associated_phrases(model.get(), "日", c.collections, c.omit_empty);
    ASSERT_TRUE(phrases) << phrases.error().message();
    EXPECT_EQ(*phrases, c.expected) << testing::PrintToString(c.collections) << c.omit_empty;
  }
}

TEST(AssociatedRequests, ModelProblemsFailWithTheirKindAndMessage) {
  const auto phrases = [](const model::ModelDatabase& db, std::string head, Values names) {
    return query_associated_phrases(db, head, names, false);
  };
  struct Case {
    const char* script;
    bool collections;  // else phrases of 日 from collection a
    ModelError expected;
  };
  const Case cases[] = {
      {"DROP TABLE associated_phrases;", false,
       {ModelErrorKind::InvalidSchema, "required table associated_phrases is missing or is not a table"}},
      {"DROP TABLE collection_names;", true,
       {ModelErrorKind::InvalidSchema, "required table collection_names is missing or is not a table"}},
      {"DROP TABLE associated_phrases; CREATE TABLE associated_phrases (headchar TEXT, data TEXT);",
       false, {ModelErrorKind::InvalidSchema, "associated_phrases: no such column: source"}},
      {"INSERT INTO associated_phrases VALUES ('日', NULL, 'a');", false,
       {ModelErrorKind::InvalidData, "associated data must contain SQLite TEXT"}},
      {"INSERT INTO collection_names VALUES ('a', x'41', 1);", true,
       {ModelErrorKind::InvalidData, "associated display must contain SQLite TEXT"}},
      {"INSERT INTO collection_names VALUES (NULL, 'A', 1);", true,
       {ModelErrorKind::InvalidData, "associated source must contain SQLite TEXT"}},
      {"INSERT INTO collection_names VALUES ('a', 'A', 1.5);", true,
       {ModelErrorKind::InvalidData, "associated sortorder must contain a SQLite integer"}},
  };
  for (const Case& c : cases) {
    const FixtureModel model(c.script);
    std::optional<ModelError> error;
    if (c.collections) {
      if (auto rows = query_collections(model.get(), CollectionOrder::Display); !rows) {
        error = rows.error();
      }
    } else if (auto rows = phrases(model.get(), "日", {"a"}); !rows) {
      error = rows.error();
    }
    EXPECT_EQ(error, c.expected) << c.script;
  }

  // Without named collections nothing is read, so a model without the
  // table still answers; a NUL is refused before anything else.
  const FixtureModel bare("DROP TABLE associated_phrases;");
  EXPECT_EQ(phrases(bare.get(), "日", {}), Values{});
  const ModelError nul{ModelErrorKind::InvalidInput, "associated phrase inputs must not contain NUL"};
  EXPECT_EQ(phrases(bare.get(), std::string("日\0", 4), {}), std::unexpected(nul));
  EXPECT_EQ(phrases(bare.get(), "日", {"a", std::string("b\0", 2)}), std::unexpected(nul));
}

}  // namespace
}  // namespace ferrolune::table
