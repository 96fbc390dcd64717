// The model query and associated-phrase documents, and the frame of their
// entry points where the public interface cannot reach (a poisoned handle,
// an answer that cannot be written).
#include "ffi/query_document.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "ffi/associated_document.h"
#include "ffi/database_handle.h"
#include "support/sqlite_fixture.h"
#include "support/temp_dir.h"

namespace ferrolune::ffi {
namespace {

using table::CollectionOrder;

TEST(AssociatedRequests, ParseStrictlyWithDefaults) {
  struct Case {
    const char* text;
    CollectionOrder order;
  };
  const Case accepted[] = {
      {"{}", CollectionOrder::Display},
      {R"({"order":"source"})", CollectionOrder::Source},
      {R"({"order":"display"})", CollectionOrder::Display},
      {R"({"order":null})", CollectionOrder::Display},
  };
  for (const Case& c : accepted) {
    const auto request = parse_associated_collections_request(c.text);
    ASSERT_TRUE(request) << c.text << ": " << request.error().message;
    EXPECT_EQ(request->order, c.order) << c.text;
  }

  const auto phrase = parse_associated_phrase_request(
      R"({"collections":["b","a",""],"head":"日","omit_empty_suffixes":true})");
  ASSERT_TRUE(phrase) << phrase.error().message;
  EXPECT_EQ(phrase->head, "日");
  EXPECT_EQ(phrase->collections, (std::vector<std::string>{"b", "a", ""}));
  EXPECT_TRUE(phrase->omit_empty_suffixes);
  const auto defaulted = parse_associated_phrase_request(R"({"head":"","collections":[]})");
  ASSERT_TRUE(defaulted);
  EXPECT_FALSE(defaulted->omit_empty_suffixes);

  struct Refused {
    bool phrases;
    const char* text;
    const char* mentions;
  };
  const Refused refused[] = {
      {false, R"({"order":"rowid"})", "order"},
      {false, R"({"sort":"display"})", "sort"},
      {false, R"({"order":"source","order":"source"})", "duplicate"},
      {false, "", ""},
      {false, "[]", ""},
      {false, "{} {}", ""},
      {true, R"({"collections":[]})", "head"},
      {true, R"({"head":"日"})", "collections"},
      {true, R"({"head":"日","collections":"a"})", "collections"},
      {true, R"({"head":"日","collections":[1]})", "collection"},
      {true, R"({"head":"日","collections":[],"omit_empty_suffixes":1})", "omit_empty_suffixes"},
      {true, R"({"head":"日","collections":[],"limit":3})", "limit"},
  };
  for (const Refused& c : refused) {
    const auto failure = c.phrases ? parse_associated_phrase_request(c.text).error()
                                   : parse_associated_collections_request(c.text).error();
    const std::string prefix = c.phrases ? "invalid associated phrase request: "
                                         : "invalid associated collection request: ";
    EXPECT_EQ(failure.status, FERROLUNE_INVALID_ARGUMENT) << c.text;
    EXPECT_EQ(failure.message.rfind(prefix, 0), 0u) << failure.message;
    EXPECT_NE(failure.message.find(c.mentions, prefix.size()), std::string::npos) << failure.message;
    EXPECT_NE(failure.message.find(" at line "), std::string::npos) << failure.message;
  }
}

TEST(AnswerDocuments, MembersInFixedOrderWrittenCompactly) {
  EXPECT_EQ(write_model_rows(ModelQueryKind::Cangjie, "a\"", ModelRows{std::vector<std::string>{
                                                                 "日", "曰\n"}}),
            R"({"schema_version":1,"kind":"cangjie","key":"a\"","rows":["日","曰\n"]})");
  EXPECT_EQ(write_model_rows(ModelQueryKind::Traditional, "", ModelRows{std::vector<std::string>{}}),
            R"({"schema_version":1,"kind":"traditional","key":"","rows":[]})");
  EXPECT_EQ(write_model_rows(ModelQueryKind::Unigrams, "q",
                             ModelRows{std::vector<model::Unigram>{{"q", "a", -0.1, 0}}}),
            R"({"schema_version":1,"kind":"unigrams","key":"q","rows":[)"
            R"({"qstring":"q","current":"a","probability":-0.1,"backoff":0}]})");
  EXPECT_EQ(write_model_rows(ModelQueryKind::Bigrams, "q",
                             ModelRows{std::vector<model::Bigram>{{"q", "p", "a", -1e-7}}}),
            R"({"schema_version":1,"kind":"bigrams","key":"q","rows":[)"
            R"({"qstring":"q","previous":"p","current":"a","probability":-1e-07}]})");
  EXPECT_EQ(write_associated_collections({{"a", "Alpha", -3}, {"b", "Beta", 9007199254740993}}),
            R"({"schema_version":1,"kind":"associated_collections","key":"","rows":[)"
            R"({"source":"a","display":"Alpha","sort_order":-3},)"
            R"({"source":"b","display":"Beta","sort_order":9007199254740993}]})");
  EXPECT_EQ(write_associated_phrases("日", {"", "月"}),
            R"({"schema_version":1,"kind":"associated_phrases","key":"日","rows":["","月"]})");

  const double infinity = std::numeric_limits<double>::infinity();
  EXPECT_FALSE(write_model_rows(ModelQueryKind::Unigrams, "q",
                                ModelRows{std::vector<model::Unigram>{{"q", "a", infinity, 0}}}));
}

TEST(ModelQueryKind, OnlyOneToFive) {
  EXPECT_FALSE(model_query_kind(0));
  EXPECT_FALSE(model_query_kind(6));
  EXPECT_FALSE(model_query_kind(std::numeric_limits<std::uint32_t>::max()));
  for (std::uint32_t number = 1; number <= 5; ++number) {
    EXPECT_EQ(static_cast<std::uint32_t>(*model_query_kind(number)), number);
  }
}

TEST(DatabaseRequests, APoisonedHandleRefusesEveryRequestAfterTheArgumentChecks) {
  test::TempDir dir;
  test::write_sqlite(dir.file("model.db"), test::kMinimalModelSchema);
  auto opened = model::open_model_database(dir.file("model.db").string());
  ASSERT_TRUE(opened);
  ferrolune_database database{{}, std::move(*opened)};
  database.state.poisoned = true;

  ferrolune_result* result = nullptr;
  const std::string message = "database handle was invalidated by an internal panic";
  EXPECT_EQ(ferrolune_model_query(&database, 0, "a", 1, &result), FERROLUNE_INTERNAL_FAULT);
  EXPECT_EQ(last_error(), message);
  EXPECT_EQ(ferrolune_associated_collections(&database, "{}", 2, &result), FERROLUNE_INTERNAL_FAULT);
  EXPECT_EQ(last_error(), message);
  const std::string phrases = R"({"head":"a","collections":[]})";
  EXPECT_EQ(ferrolune_associated_phrases(&database, phrases.data(), phrases.size(), &result),
            FERROLUNE_INTERNAL_FAULT);
  EXPECT_EQ(last_error(), message);
  EXPECT_EQ(result, nullptr);

  // Text and document problems are found before the lock is taken.
  EXPECT_EQ(ferrolune_model_query(&database, 0, "\xff", 1, &result), FERROLUNE_INVALID_UTF8);
  EXPECT_EQ(ferrolune_associated_collections(&database, "[", 1, &result),
            FERROLUNE_INVALID_ARGUMENT);
  EXPECT_EQ(last_error().rfind("invalid associated collection request: ", 0), 0u);
}

}  // namespace
}  // namespace ferrolune::ffi
