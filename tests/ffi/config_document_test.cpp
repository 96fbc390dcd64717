#include "ffi/config_document.h"

#include <gtest/gtest.h>

#include <string>

namespace ferrolune::ffi {
namespace {

using engine::SessionConfig;

TEST(ConfigDocument, EmptyTextAndEmptyObjectAreTheDefault) {
  const auto empty = parse_session_config("");
  const auto object = parse_session_config(" {} ");
  ASSERT_TRUE(empty.has_value());
  ASSERT_TRUE(object.has_value());
  EXPECT_EQ(*empty, SessionConfig{});
  EXPECT_EQ(*object, SessionConfig{});
  EXPECT_EQ(empty->method, InputMethod::Traditional);
  EXPECT_EQ(empty->profile, BehaviorProfile::Desktop);
  EXPECT_EQ(empty->layout, bopomofo::BopomofoLayout::Standard);
  EXPECT_FALSE(empty->user_database.has_value());
}

TEST(ConfigDocument, ReadsEveryRecordAndMember) {
  const auto config = parse_session_config(R"({
    "simplex": {"realtime": true, "prefix": true, "clear_on_error": false, "query_at_maximum": true,
                "learn_selection": false, "punctuation": "half", "maximum_radical_length": 5,
                "space_as_first_selection_key": true, "space_commits_first_on_single_page": false,
                "wildcards": {"one": "?", "many": null}},
    "method": "smart", "profile": "touch", "layout": "ETen26",
    "behaviors": {"ignore_caps_lock_in_chinese": true, "literal_keypad": false},
    "smart": {"use_bigrams": false, "space_opens_candidates": false, "candidate_cursor_at_end": true,
              "clear_composing_with_escape": true, "shift_always_uppercase": true,
              "max_completed_syllables": 20, "shift_at_limit": true, "selection_returns_to_end": true,
              "candidate_selection_keys": "asdf"},
    "learning": {"user_phrases": false, "candidate_overrides": true, "bigrams": true, "table_learning": true},
    "user_database": "/tmp/user.db", "traditional_selection_keys": "1234", "table_selection_keys": null,
    "cangjie": {}
  })");
  ASSERT_TRUE(config.has_value()) << config.error().message;

  SessionConfig expected;
  expected.method = InputMethod::Smart;
  expected.profile = BehaviorProfile::Touch;
  expected.layout = bopomofo::BopomofoLayout::Eten26;
  expected.behaviors = {true, false};
  expected.smart = {false, false, true, true, true, 20, true, true, "asdf"};
  expected.learning = {false, true, true, true};
  expected.user_database = "/tmp/user.db";
  expected.traditional_selection_keys = "1234";
  expected.cangjie = TableOptions{};
  expected.simplex = TableOptions{true, true, false, true, false, PunctuationStyle::Half, 5u, true,
                                  false, TableWildcards{"?", std::nullopt}};
  EXPECT_EQ(*config, expected);
}

TEST(ConfigDocument, AcceptsEveryLayoutSpelling) {
  using enum bopomofo::BopomofoLayout;
  const std::pair<const char*, bopomofo::BopomofoLayout> cases[] = {
      {"standard", Standard}, {"Standard", Standard},        {"hsu", Hsu},
      {"Hsu", Hsu},           {"eten", Eten},                {"ETen", Eten},
      {"eten26", Eten26},     {"ETen26", Eten26},            {"hanyu_pinyin", HanyuPinyin},
      {"HanyuPinyin", HanyuPinyin}, {"hanyupinyin", HanyuPinyin}, {"pinyin", HanyuPinyin},
  };
  for (const auto& [spelling, layout] : cases) {
    const auto config = parse_session_config(std::string(R"({"layout":")") + spelling + "\"}");
    ASSERT_TRUE(config.has_value()) << spelling << ": " << config.error().message;
    EXPECT_EQ(config->layout, layout) << spelling;
  }
}

TEST(ConfigDocument, NullMeansAbsentOnlyWhereAbsenceIsAllowed) {
  const auto nulls = parse_session_config(
      R"({"user_database":null,"traditional_selection_keys":null,"cangjie":null,"simplex":null,
          "smart":{"candidate_selection_keys":null},
          "learning":{},
          "behaviors":{}})");
  ASSERT_TRUE(nulls.has_value()) << nulls.error().message;
  EXPECT_EQ(*nulls, SessionConfig{});

  const auto table_nulls = parse_session_config(
      R"({"cangjie":{"maximum_radical_length":null,"space_commits_first_on_single_page":null,"wildcards":null}})");
  ASSERT_TRUE(table_nulls.has_value()) << table_nulls.error().message;
  EXPECT_EQ(table_nulls->cangjie, TableOptions{});

  for (const char* document : {R"({"method":null})", R"({"smart":null})", R"({"behaviors":null})",
                               R"({"learning":{"bigrams":null}})", R"({"cangjie":{"prefix":null}})"}) {
    EXPECT_FALSE(parse_session_config(document).has_value()) << document;
  }
}

TEST(ConfigDocument, RefusalsCarryThePrefixAndNameTheProblem) {
  const std::pair<const char*, const char*> cases[] = {
      {R"({"smart":{"use_bigram":true}})", "unknown field `use_bigram`"},
      {R"({"metod":"smart"})", "unknown field `metod`"},
      {R"({"method":"smart","method":"smart"})", "duplicate field `method`"},
      {R"({"layout":"qwerty"})", "qwerty"},
      {R"({"method":"Smart"})", "Smart"},
      {R"({"cangjie":{"punctuation":"full"}})", "full"},
      {R"({"cangjie":{"wildcards":{"one":"ab"}}})", "one"},
      {R"({"cangjie":{"wildcards":{"three":"a"}}})", "unknown field `three`"},
      {R"({"smart":{"max_completed_syllables":-1}})", "max_completed_syllables"},
      {R"({"smart":{"max_completed_syllables":4294967296}})", "max_completed_syllables"},
      {R"({"user_database":3})", "user_database"},
      {R"([])", ""},
      {R"({} {})", ""},
      {R"({"method":"smart")", ""},
  };
  for (const auto& [document, fragment] : cases) {
    const auto config = parse_session_config(document);
    ASSERT_FALSE(config.has_value()) << document;
    EXPECT_EQ(config.error().status, FERROLUNE_INVALID_ARGUMENT) << document;
    EXPECT_TRUE(config.error().message.starts_with("invalid session configuration: "))
        << config.error().message;
    EXPECT_NE(config.error().message.find(fragment), std::string::npos)
        << document << " -> " << config.error().message;
  }
}

}  // namespace
}  // namespace ferrolune::ffi
