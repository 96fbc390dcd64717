// Model queries and associated-phrase requests seen from outside, through
// ferrolune.h and libferrolune.so alone: answers with their row counts,
// the order of the argument checks, and model failures with their status.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "capi_support.h"
#include "ferrolune.h"
#include "support/sqlite_fixture.h"
#include "support/temp_dir.h"

namespace ferrolune::capi {
namespace {

ferrolune_result* const kGarbage = reinterpret_cast<ferrolune_result*>(1);

constexpr std::string_view kRows = R"sql(
INSERT INTO "Mandarin-bpmf-cin" VALUES ('k', '日'), ('k', '曰');
INSERT INTO "Generic-cj-cin" VALUES ('a', '日');
INSERT INTO "Generic-simplex-cin" VALUES ('a', '一'), ('b', NULL);
INSERT INTO unigrams VALUES ('q', 'a', -1.5, -0.25), ('q', 'b', -2, 0);
INSERT INTO bigrams VALUES ('q', 'p', 'a', -0.125);
INSERT INTO collection_names VALUES ('b', 'Beta', 1), ('a', 'Alpha', 1);
INSERT INTO associated_phrases VALUES ('日', 'x,,y', 'a'), ('日', 'y,z', 'b');
)sql";

// A model handle on a fixture file; `script` runs after the full schema.
class ModelHandle {
 public:
  explicit ModelHandle(std::string_view script) {
    const std::string path = dir_.file("model.db").string();
    test::write_sqlite(path, std::string(test::kMinimalModelSchema) + std::string(script));
    if (ferrolune_database_open(path.data(), path.size(), &database_) != FERROLUNE_OK) {
      ADD_FAILURE() << last_error_text();
    }
  }
  ~ModelHandle() { ferrolune_database_close(&database_); }
  ModelHandle(const ModelHandle&) = delete;
  ModelHandle& operator=(const ModelHandle&) = delete;

  ferrolune_database* get() const { return database_; }

 private:
  test::TempDir dir_;
  ferrolune_database* database_ = nullptr;
};

struct Answer {
  int32_t status;
  std::string text;  // the JSON on success, the last error otherwise
  uint64_t rows;
};

// Reads the outcome of a call and frees its result (if any).
Answer answer_of(int32_t status, ferrolune_result* result) {
  Answer answer{status, status == FERROLUNE_OK ? result_text(result) : last_error_text(), 0};
  if (status == FERROLUNE_OK) ferrolune_result_row_count(result, &answer.rows);
  if (status != FERROLUNE_OK) EXPECT_EQ(result, nullptr);
  ferrolune_result_free(&result);
  return answer;
}

Answer query(ferrolune_database* database, uint32_t kind, std::string_view key) {
  ferrolune_result* result = kGarbage;
  const int32_t status = ferrolune_model_query(database, kind, key.data(), key.size(), &result);
  return answer_of(status, result);
}

Answer collections(ferrolune_database* database, std::string_view request) {
  ferrolune_result* result = kGarbage;
  const int32_t status =
      ferrolune_associated_collections(database, request.data(), request.size(), &result);
  return answer_of(status, result);
}

Answer phrases(ferrolune_database* database, std::string_view request) {
  ferrolune_result* result = kGarbage;
  const int32_t status =
      ferrolune_associated_phrases(database, request.data(), request.size(), &result);
  return answer_of(status, result);
}

void expect_answer(const Answer& actual, const Answer& expected, const std::string& what) {
  EXPECT_EQ(actual.status, expected.status) << what;
  EXPECT_EQ(actual.text, expected.text) << what;
  EXPECT_EQ(actual.rows, expected.rows) << what;
}

TEST(ModelQuery, AnswersEachKindWithItsRowCount) {
  const ModelHandle model(kRows);
  struct Case {
    uint32_t kind;
    std::string key;
    Answer expected;
  };
  const Case cases[] = {
      {FERROLUNE_QUERY_TRADITIONAL, "k",
       {0, R"({"schema_version":1,"kind":"traditional","key":"k","rows":["日","曰"]})", 2}},
      {FERROLUNE_QUERY_CANGJIE, "a",
       {0, R"({"schema_version":1,"kind":"cangjie","key":"a","rows":["日"]})", 1}},
      {FERROLUNE_QUERY_SIMPLEX, "zz",
       {0, R"({"schema_version":1,"kind":"simplex","key":"zz","rows":[]})", 0}},
      {FERROLUNE_QUERY_UNIGRAMS, "q",
       {0,
        R"({"schema_version":1,"kind":"unigrams","key":"q","rows":[)"
        R"({"qstring":"q","current":"a","probability":-1.5,"backoff":-0.25},)"
        R"({"qstring":"q","current":"b","probability":-2,"backoff":0}]})",
        2}},
      {FERROLUNE_QUERY_BIGRAMS, "q",
       {0,
        R"({"schema_version":1,"kind":"bigrams","key":"q","rows":[)"
        R"({"qstring":"q","previous":"p","current":"a","probability":-0.125}]})",
        1}},
      {FERROLUNE_QUERY_SIMPLEX, "b",
       {FERROLUNE_DATA_ERROR, "invalid model data: value must contain SQLite TEXT", 0}},
      {0, "a", {FERROLUNE_INVALID_ARGUMENT, "unknown query kind", 0}},
      {6, "a", {FERROLUNE_INVALID_ARGUMENT, "unknown query kind", 0}},
      // The key is decoded before the kind is looked at.
      {0, "\xff", {FERROLUNE_INVALID_UTF8, "query key is not valid UTF-8", 0}},
      {FERROLUNE_QUERY_CANGJIE, std::string("a\0", 2),
       {FERROLUNE_INVALID_ARGUMENT, "query key contains an embedded NUL", 0}},
  };
  for (const Case& c : cases) expect_answer(query(model.get(), c.kind, c.key), c.expected, c.key);
}

TEST(ModelQuery, ChecksOutputThenHandleThenKey) {
  const ModelHandle model("");
  EXPECT_EQ(ferrolune_model_query(nullptr, 0, nullptr, 1, nullptr), FERROLUNE_INVALID_ARGUMENT);
  EXPECT_EQ(last_error_text(), "result output pointer is null");
  expect_answer(query(nullptr, 0, "\xff"), {FERROLUNE_INVALID_ARGUMENT, "database handle is null", 0},
                "null handle");
  ferrolune_result* result = kGarbage;
  EXPECT_EQ(ferrolune_model_query(model.get(), 1, nullptr, 1, &result), FERROLUNE_INVALID_ARGUMENT);
  EXPECT_EQ(last_error_text(), "query key pointer is null");
  EXPECT_EQ(result, nullptr);
  // A zero-length key may come with a null pointer and is an ordinary key.
  EXPECT_EQ(ferrolune_model_query(model.get(), 1, nullptr, 0, &result), FERROLUNE_OK);
  EXPECT_EQ(result_text(result), R"({"schema_version":1,"kind":"traditional","key":"","rows":[]})");
  ferrolune_result_free(&result);
  EXPECT_EQ(last_error_text(), "");
}

TEST(AssociatedRequests, AnswerCollectionsAndPhrases) {
  const ModelHandle model(kRows);
  const std::string by_display =
      R"({"schema_version":1,"kind":"associated_collections","key":"","rows":[)"
      R"({"source":"a","display":"Alpha","sort_order":1},)"
      R"({"source":"b","display":"Beta","sort_order":1}]})";
  expect_answer(collections(model.get(), "{}"), {0, by_display, 2}, "collections");
  expect_answer(collections(model.get(), R"({"order":"source"})"), {0, by_display, 2}, "by source");
  expect_answer(
      phrases(model.get(), R"({"head":"日","collections":["b","a","b"]})"),
      {0, R"({"schema_version":1,"kind":"associated_phrases","key":"日","rows":["y","z","x",""]})", 4},
      "phrases");
  expect_answer(
      phrases(model.get(), R"({"head":"日","collections":["a"],"omit_empty_suffixes":true})"),
      {0, R"({"schema_version":1,"kind":"associated_phrases","key":"日","rows":["x","y"]})", 2},
      "omit empty");
}

TEST(AssociatedRequests, FailuresInTheirOrderWithStatusAndMessage) {
  const ModelHandle bare("DROP TABLE associated_phrases; DROP TABLE collection_names;");
  expect_answer(
      collections(bare.get(), "{}"),
      {FERROLUNE_DATA_ERROR,
       "invalid model schema: required table collection_names is missing or is not a table", 0},
      "no collection_names");
  expect_answer(
      phrases(bare.get(), R"({"head":"日","collections":["a"]})"),
      {FERROLUNE_DATA_ERROR,
       "invalid model schema: required table associated_phrases is missing or is not a table", 0},
      "no associated_phrases");
  expect_answer(
      phrases(bare.get(), R"({"head":"日","collections":[]})"),
      {0, R"({"schema_version":1,"kind":"associated_phrases","key":"日","rows":[]})", 0},
      "no collections named");
  expect_answer(phrases(bare.get(), R"({"head":"\u0000","collections":["a"]})"),
                {FERROLUNE_INVALID_ARGUMENT,
                 "invalid input: associated phrase inputs must not contain NUL", 0},
                "escaped NUL");
  expect_answer(phrases(nullptr, "{"), {FERROLUNE_INVALID_ARGUMENT, "database handle is null", 0},
                "handle before document");
  expect_answer(collections(bare.get(), "\xff"),
                {FERROLUNE_INVALID_UTF8, "associated collection request is not valid UTF-8", 0},
                "collection text");
  expect_answer(phrases(bare.get(), std::string("{\0}", 3)),
                {FERROLUNE_INVALID_ARGUMENT, "associated phrase request contains an embedded NUL", 0},
                "phrase text");
  EXPECT_EQ(ferrolune_associated_phrases(bare.get(), "{}", 2, nullptr), FERROLUNE_INVALID_ARGUMENT);
  EXPECT_EQ(last_error_text(), "result output pointer is null");

  const Answer unparsed = phrases(bare.get(), R"({"head":"日"})");
  EXPECT_EQ(unparsed.status, FERROLUNE_INVALID_ARGUMENT);
  EXPECT_EQ(unparsed.text.rfind("invalid associated phrase request: ", 0), 0u) << unparsed.text;
  const Answer unknown = collections(bare.get(), R"({"order":"rowid"})");
  EXPECT_EQ(unknown.status, FERROLUNE_INVALID_ARGUMENT);
  EXPECT_EQ(unknown.text.rfind("invalid associated collection request: ", 0), 0u) << unknown.text;
}

}  // namespace
}  // namespace ferrolune::capi
