#include "table/dictionary_queries.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "model_fixture.h"

namespace ferrolune::table {
namespace {

using model::ModelError;
using model::ModelErrorKind;

// Rows are inserted out of rowid order, and an index on (key, value DESC)
// makes SQLite's natural order of a key lookup differ from rowid order: a
// query that forgot its ORDER BY returns them reversed.
constexpr std::string_view kRowOrderScript = R"sql(
CREATE INDEX bpmf_by_value ON "Mandarin-bpmf-cin"(key, value DESC);
CREATE INDEX cj_by_value ON "Generic-cj-cin"(key, value DESC);
CREATE INDEX simplex_by_value ON "Generic-simplex-cin"(key, value DESC);
CREATE INDEX half_by_value ON "Punctuations-cj-halfwidth-cin"(key, value DESC);
CREATE INDEX mixed_by_value ON "Punctuations-cj-mixedwidth-cin"(key, value DESC);
CREATE INDEX unigrams_by_value ON unigrams(qstring, current DESC);
CREATE INDEX bigrams_by_value ON bigrams(qstring, current DESC);
INSERT INTO "Mandarin-bpmf-cin"(rowid, key, value) VALUES (3, 'k', 'c'), (1, 'k', 'a'), (2, 'k', 'b'), (4, 'x', 'z');
INSERT INTO "Generic-cj-cin"(rowid, key, value) VALUES (3, 'ab', 'c'), (1, 'a', 'a'), (2, 'ab', 'b'), (4, 'b', 'z'), (5, '', 'e');
INSERT INTO "Generic-simplex-cin"(rowid, key, value) VALUES (2, 'k', 'b'), (1, 'k', 'a');
INSERT INTO "Punctuations-cj-halfwidth-cin"(rowid, key, value) VALUES (2, ',', 'b'), (1, ',', 'a');
INSERT INTO "Punctuations-cj-mixedwidth-cin"(rowid, key, value) VALUES (2, ',', 'B'), (1, ',', 'A');
INSERT INTO unigrams(rowid, qstring, current, probability, backoff) VALUES
  (2, 'q', 'b', -2.5, 0), (1, 'q', 'a', -1, -0.25), (3, 'r', 'c', -0.5, 0);
INSERT INTO bigrams(rowid, qstring, previous, current, probability) VALUES
  (2, 'q', 'p', 'b', -3), (1, 'q', 'p', 'a', -1.5);
)sql";

using Values = std::vector<std::string>;

TEST(DictionaryQueries, ReturnEveryRowInRowidOrder) {
  const FixtureModel model(kRowOrderScript);
  const auto& db = model.get();
  struct Case {
    const char* name;
    std::function<model::ModelResult<Values>()> run;
    Values expected;
  };
  const Case cases[] = {
      {"bopomofo", [&] { return query_values(db, DictionaryTable::Bopomofo, "k"); }, {"a", "b", "c"}},
      {"cangjie", [&] { return query_values(db, DictionaryTable::Cangjie, "ab"); }, {"b", "c"}},
      {"simplex", [&] { return query_values(db, DictionaryTable::Simplex, "k"); }, {"a", "b"}},
      {"empty key", [&] { return query_values(db, DictionaryTable::Cangjie, ""); }, {"e"}},
      {"missing key", [&] { return query_values(db, DictionaryTable::Cangjie, "zz"); }, {}},
      {"glob", [&] { return query_values_glob(db, DictionaryTable::Cangjie, "a*"); }, {"a", "b", "c"}},
      {"glob bopomofo", [&] { return query_values_glob(db, DictionaryTable::Bopomofo, "?"); },
       {"a", "b", "c", "z"}},
      {"half", [&] { return query_punctuation(db, PunctuationStyle::Half, ","); }, {"a", "b"}},
      {"mixed", [&] { return query_punctuation(db, PunctuationStyle::Mixed, ","); }, {"A", "B"}},
      {"original", [&] { return query_punctuation(db, PunctuationStyle::Original, ","); }, {}},
  };
  for (const Case& c : cases) {
    const auto values = c.run();
    ASSERT_TRUE(values) << c.name << ": " << values.error().message();
    EXPECT_EQ(*values, c.expected) << c.name;
  }

  const auto unigrams = query_unigrams(db, "q");
  ASSERT_TRUE(unigrams);
  EXPECT_EQ(*unigrams, (std::vector<model::Unigram>{{"q", "a", -1, -0.25}, {"q", "b", -2.5, 0}}));
  const auto bigrams = query_bigrams(db, "q");
  ASSERT_TRUE(bigrams);
  EXPECT_EQ(*bigrams, (std::vector<model::Bigram>{{"q", "p", "a", -1.5}, {"q", "p", "b", -3}}));
}

// The outcome of a query without its rows.
template <class T>
model::ModelResult<void> outcome_of(const model::ModelResult<T>& rows) {
  if (!rows) return std::unexpected(rows.error());
  return {};
}

TEST(DictionaryQueries, BadRowsAndKeysFailWithTheirKindAndMessage) {
  using Run = std::function<model::ModelResult<void>(const model::ModelDatabase&)>;
  const auto values = [](DictionaryTable table, std::string key) -> Run {
    return [table, key](const auto& db) { return outcome_of(query_values(db, table, key)); };
  };
  const Run unigrams = [](const auto& db) { return outcome_of(query_unigrams(db, "q")); };
  const Run bigrams = [](const auto& db) { return outcome_of(query_bigrams(db, "q")); };
  const Run half = [](const auto& db) {
    return outcome_of(query_punctuation(db, PunctuationStyle::Half, ","));
  };
  const Run glob_with_nul = [](const auto& db) {
    return outcome_of(query_values_glob(db, DictionaryTable::Cangjie, std::string("a\0*", 3)));
  };
  struct Case {
    const char* script;
    Run run;
    ModelError expected;
  };
  const Case cases[] = {
      {"INSERT INTO \"Generic-cj-cin\" VALUES ('a', 'x'), ('a', NULL);",
       values(DictionaryTable::Cangjie, "a"),
       {ModelErrorKind::InvalidData, "value must contain SQLite TEXT"}},
      {"INSERT INTO \"Generic-simplex-cin\" VALUES ('a', x'61');", values(DictionaryTable::Simplex, "a"),
       {ModelErrorKind::InvalidData, "value must contain SQLite TEXT"}},
      {"INSERT INTO \"Mandarin-bpmf-cin\" VALUES ('a', CAST(x'ff' AS TEXT));",
       values(DictionaryTable::Bopomofo, "a"),
       {ModelErrorKind::InvalidData, "value is not valid UTF-8"}},
      {"", values(DictionaryTable::Cangjie, std::string("a\0b", 3)),
       {ModelErrorKind::InvalidInput, "query key must not contain NUL"}},
      {"", glob_with_nul, {ModelErrorKind::InvalidInput, "query key must not contain NUL"}},
      {"INSERT INTO unigrams VALUES ('q', 'a', 'high', 0);", unigrams,
       {ModelErrorKind::InvalidData, "probability must contain a SQLite number"}},
      {"INSERT INTO unigrams VALUES ('q', 'a', 1e999, 0);", unigrams,
       {ModelErrorKind::InvalidData, "probability must contain a finite number"}},
      {"INSERT INTO unigrams VALUES ('q', 'a', -1, NULL);", unigrams,
       {ModelErrorKind::InvalidData, "backoff must contain a SQLite number"}},
      {"INSERT INTO bigrams VALUES ('q', x'00', 'a', -1);", bigrams,
       {ModelErrorKind::InvalidData, "previous must contain SQLite TEXT"}},
      {"INSERT INTO bigrams VALUES ('q', 'p', 'a', -1e999);", bigrams,
       {ModelErrorKind::InvalidData, "probability must contain a finite number"}},
      {"DROP TABLE \"Punctuations-cj-halfwidth-cin\";", half,
       {ModelErrorKind::QueryFailed, "no such table: Punctuations-cj-halfwidth-cin"}},
  };
  for (const Case& c : cases) {
    const FixtureModel model(c.script);
    const auto outcome = c.run(model.get());
    ASSERT_FALSE(outcome) << c.script;
    EXPECT_EQ(outcome.error(), c.expected) << c.script;
  }
}

TEST(DictionaryQueries, MaxUnigramProbabilityStaysBelowZero) {
  struct Case {
    const char* script;
    double expected;
  };
  const Case cases[] = {
      {"", -1e-7},
      {"INSERT INTO unigrams VALUES ('q', 'a', 0, 0), ('q', 'b', -3, 0);", -1e-7},
      {"INSERT INTO unigrams VALUES ('q', 'a', -4, 0), ('r', 'b', -0.75, 0);", -0.75},
      {"INSERT INTO unigrams VALUES ('q', 'a', -4, 0), ('r', 'b', NULL, 0);", -4},
  };
  for (const Case& c : cases) {
    const FixtureModel model(c.script);
    const auto maximum = max_unigram_probability(model.get());
    ASSERT_TRUE(maximum) << c.script;
    EXPECT_EQ(*maximum, c.expected) << c.script;
  }
  // MAX prefers TEXT over every number, so a stray text value surfaces.
  const FixtureModel model("INSERT INTO unigrams VALUES ('q', 'a', 'x', 0);");
  const auto maximum = max_unigram_probability(model.get());
  ASSERT_FALSE(maximum);
  EXPECT_EQ(maximum.error(), (ModelError{ModelErrorKind::InvalidData,
                                         "maximum unigram probability must contain a SQLite number"}));
}

}  // namespace
}  // namespace ferrolune::table
