#include "engine/session_config.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace ferrolune::engine {
namespace {

struct ValidationCase {
  const char* name;
  std::function<void(SessionConfig&)> change;
  const char* message;  // empty: accepted
};

TableOptions with_radicals(std::uint32_t length) {
  TableOptions options;
  options.maximum_radical_length = length;
  return options;
}

TableOptions with_wildcards(std::optional<std::string> one, std::optional<std::string> many) {
  TableOptions options;
  options.wildcards = TableWildcards{std::move(one), std::move(many)};
  return options;
}

const std::string k32 = "!\"#$%&'()*+,-./0123456789:;<=>?@";
const std::string k33 = k32 + "A";

TEST(SessionConfig, ValidationAcceptsBoundsAndRefusesWithExactMessages) {
  const char* smart_keys = "smart candidate keys must be 1..32 unique printable ASCII keys";
  const char* limit = "smart composition limit must be within 10..20 completed readings";
  const char* radicals = "maximum radical length must be between 1 and 128";
  const char* wildcard = "wildcard symbols must be printable non-space ASCII";
  const char* keys = "selection keys must contain 1..32 printable ASCII keys";
  const char* unique = "selection keys must be unique";
  const ValidationCase cases[] = {
      {"default", [](SessionConfig&) {}, ""},
      {"limit 9", [](SessionConfig& c) { c.smart.max_completed_syllables = 9; }, limit},
      {"limit 10", [](SessionConfig& c) { c.smart.max_completed_syllables = 10; }, ""},
      {"limit 20", [](SessionConfig& c) { c.smart.max_completed_syllables = 20; }, ""},
      {"limit 21", [](SessionConfig& c) { c.smart.max_completed_syllables = 21; }, limit},
      {"smart keys repeated", [](SessionConfig& c) { c.smart.candidate_selection_keys = "aa"; }, smart_keys},
      {"smart keys empty", [](SessionConfig& c) { c.smart.candidate_selection_keys = ""; }, smart_keys},
      {"smart keys space", [](SessionConfig& c) { c.smart.candidate_selection_keys = "a b"; }, smart_keys},
      {"smart keys 32", [&](SessionConfig& c) { c.smart.candidate_selection_keys = k32; }, ""},
      {"smart keys 33", [&](SessionConfig& c) { c.smart.candidate_selection_keys = k33; }, smart_keys},
      {"radicals 0", [](SessionConfig& c) { c.cangjie = with_radicals(0); }, radicals},
      {"radicals 1", [](SessionConfig& c) { c.cangjie = with_radicals(1); }, ""},
      {"radicals 128", [](SessionConfig& c) { c.cangjie = with_radicals(128); }, ""},
      {"radicals 129", [](SessionConfig& c) { c.simplex = with_radicals(129); }, radicals},
      {"wildcard space", [](SessionConfig& c) { c.cangjie = with_wildcards(" ", "*"); }, wildcard},
      {"wildcard none", [](SessionConfig& c) { c.cangjie = with_wildcards(std::nullopt, "*"); }, ""},
      {"wildcard non-ASCII", [](SessionConfig& c) { c.simplex = with_wildcards("?", "\xE3\x80\x80"); }, wildcard},
      {"wildcard DEL", [](SessionConfig& c) { c.simplex = with_wildcards("\x7F", std::nullopt); }, wildcard},
      {"traditional keys repeated", [](SessionConfig& c) { c.traditional_selection_keys = "aa"; }, unique},
      {"traditional keys space", [](SessionConfig& c) { c.traditional_selection_keys = "a b"; }, keys},
      {"traditional keys empty", [](SessionConfig& c) { c.traditional_selection_keys = ""; }, keys},
      {"table keys 32", [&](SessionConfig& c) { c.table_selection_keys = k32; }, ""},
      {"table keys 33", [&](SessionConfig& c) { c.table_selection_keys = k33; }, keys},
      {"table keys control", [](SessionConfig& c) { c.table_selection_keys = "12\t"; }, keys},
      // The first failure in the fixed order wins.
      {"smart before table",
       [](SessionConfig& c) {
         c.table_selection_keys = "aa";
         c.cangjie = with_radicals(0);
         c.smart.max_completed_syllables = 30;
       },
       limit},
      {"cangjie before selection keys",
       [](SessionConfig& c) {
         c.traditional_selection_keys = "aa";
         c.cangjie = with_radicals(0);
       },
       radicals},
      {"traditional before table keys",
       [](SessionConfig& c) {
         c.table_selection_keys = "";
         c.traditional_selection_keys = "aa";
       },
       unique},
  };
  for (const auto& test : cases) {
    SessionConfig config;
    test.change(config);
    const auto result = validate_session_config(config);
    if (std::string(test.message).empty()) {
      EXPECT_TRUE(result.has_value()) << test.name << ": " << result.error().message();
    } else {
      ASSERT_FALSE(result.has_value()) << test.name;
      EXPECT_EQ(result.error(), Error(PlainError{test.message})) << test.name;
    }
  }
}

}  // namespace
}  // namespace ferrolune::engine
