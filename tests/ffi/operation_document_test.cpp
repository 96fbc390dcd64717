#include "ffi/operation_document.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/operation_checks.h"

namespace ferrolune::ffi {
namespace {

namespace op = engine::op;

engine::InputOperation parse_ok(const std::string& text) {
  auto parsed = parse_input_operation(text);
  EXPECT_TRUE(parsed.has_value()) << text << ": " << (parsed ? "" : parsed.error().message);
  return parsed ? *parsed : engine::InputOperation{op::Reset{}};
}

TEST(OperationDocument, AcceptsBothFormsAndTheTagAnywhere) {
  struct Case {
    const char* text;
    std::size_t ordinal;
  };
  const Case cases[] = {
      {R"({"type":"character","text":"a"})", 0},
      {R"({"text":"a","type":"character"})", 0},
      {R"(["character","a",{"shift":true}])", 0},
      {R"(["character","a"])", 0},
      {R"({"type":"key","key":"page_up"})", 2},
      {R"({"type":"select","index":18446744073709551615})", 3},
      {R"({"type":"page","delta":-2147483648})", 4},
      {R"({"type":"set_layout","layout":"pinyin"})", 7},
      {R"({"type":"reset","anything":[1,{"x":null}]})", 31},
      {R"(["reset"])", 31},
      {R"({"type":"finish_composition"})", 29},
      {R"({"type":"import_legacy_user_data","path":"/tmp/x","method":null})", 22},
      {R"({"type":"replace_user_phrases","phrases":[{"qstring":"ab","current":"x","probability":-1,"backoff":0}]})", 18},
      {R"({"type":"import_user_data","archive":{"format":"ferrolune_user_data","schema_version":1,"phrases":[]}})", 23},
      {R"({"type":"set_table_options","method":"cangjie","options":{"wildcards":{"one":"?","many":null}}})", 9},
  };
  for (const Case& c : cases) EXPECT_EQ(parse_ok(c.text).index(), c.ordinal) << c.text;
}

TEST(OperationDocument, ReadsFieldValues) {
  const auto enter = std::get<op::KeyPress>(parse_ok(R"({"type":"key","key":"enter","modifiers":{"shift":true,"release":true}})"));
  const auto ret = std::get<op::KeyPress>(parse_ok(R"({"type":"key","key":"return"})"));
  EXPECT_EQ(enter.key, engine::Key::Return);
  EXPECT_EQ(ret.key, engine::Key::Return);
  EXPECT_TRUE(enter.modifiers.shift && enter.modifiers.release && !enter.modifiers.control);
  EXPECT_EQ(ret.modifiers, engine::Modifiers{});

  const auto layout = std::get<op::SetLayout>(parse_ok(R"(["set_layout","ETen26"])"));
  EXPECT_EQ(layout.layout, bopomofo::BopomofoLayout::Eten26);

  const auto finish = std::get<op::FinishComposition>(
      parse_ok(R"({"type":"finish_composition","complete_reading":true,"select_highlighted_candidate":true})"));
  EXPECT_TRUE(finish.complete_reading && finish.select_highlighted_candidate && !finish.discard_table_code);

  const auto legacy = std::get<op::ImportLegacyUserData>(
      parse_ok(R"({"type":"import_legacy_user_data","path":"p","method":"simplex"})"));
  EXPECT_EQ(legacy.method, InputMethod::Simplex);
}

TEST(OperationDocument, RefusesMalformedDocumentsWithANamedProblem) {
  struct Case {
    const char* text;
    const char* error;  // after "invalid input operation: "
  };
  const Case cases[] = {
      {R"({"text":"a"})", "missing field `type` at line 1 column 12"},
      {R"({"type":"jump"})", "unknown variant `jump` for type, expected one of `character`,"},
      {R"({"type":"character","text":"a","modifiers":{"shift":true,"meta":true}})",
       "unknown field `meta`, expected one of `shift`, `control`, `alt`, `command`, `caps_lock`, `num_lock`, `keypad`, `repeat`, `release`"},
      {R"({"type":"select","index":1,"extra":0})", "unknown field `extra`, expected one of `index`, `type`"},
      {R"({"type":"select","index":1,"index":2})", "duplicate field `index`"},
      {R"({"type":"select","type":"select","index":1})", "duplicate field `type`"},
      {R"({"type":"select"})", "missing field `index`"},
      {R"({"type":"select","index":-1})", "invalid type: integer `-1`, expected a non-negative integer for index"},
      {R"({"type":"page","delta":2147483648})", "invalid value: integer `2147483648`, expected a signed 32-bit integer"},
      {R"({"type":"key","key":"f1"})", "unknown variant `f1` for key"},
      {R"(["select"])", "missing field `index`"},
      {R"(["reset",1])", "too many elements for operation `reset`, expected at most 1"},
      {R"([])", "empty operation array"},
      {R"("reset")", "invalid type: string \"reset\", expected an operation object or array"},
      {R"({"type":"reset"} {})", "syntax error: the document root must not be followed by other values"},
      {R"({"type":"import_user_data","archive":{"format":"other","schema_version":1,"phrases":[]}})",
       "unknown variant `other` for format"},
      {R"({"type":"import_user_data","archive":{"format":"ferrolune_user_data","schema_version":1}})",
       "missing field `phrases`"},
  };
  for (const Case& c : cases) {
    const auto parsed = parse_input_operation(c.text);
    ASSERT_FALSE(parsed.has_value()) << c.text;
    EXPECT_EQ(parsed.error().status, FERROLUNE_INVALID_ARGUMENT);
    const std::string expected = std::string("invalid input operation: ") + c.error;
    EXPECT_EQ(parsed.error().message.substr(0, expected.size()), expected) << c.text;
  }
}

TEST(OperationDocument, ContentChecks) {
  struct Case {
    const char* text;
    const char* error;  // empty: accepted
  };
  const Case cases[] = {
      {R"({"type":"character","text":"ab"})", "character text must be one non-control Unicode scalar"},
      {R"({"type":"character","text":""})", "character text must be one non-control Unicode scalar"},
      {R"({"type":"character","text":"\t"})", "character text must be one non-control Unicode scalar"},
      {R"({"type":"character","text":"\u0085"})", "character text must be one non-control Unicode scalar"},
      {R"({"type":"character","text":"\u007f"})", "character text must be one non-control Unicode scalar"},
      {R"({"type":"character","text":"😀"})", ""},
      {R"({"type":"character","text":"我"})", ""},
      {R"({"type":"direct_text","text":""})", "direct text must be nonempty without NUL"},
      {R"({"type":"direct_text","text":"a\u0000b"})", "direct text must be nonempty without NUL"},
      {R"({"type":"set_table_options","method":"smart","options":{}})", "table options require Cangjie or Simplex"},
      {R"({"type":"set_table_options","method":"smart","options":{"maximum_radical_length":0}})",
       "maximum radical length must be between 1 and 128"},
      {R"({"type":"set_smart_options","options":{"max_completed_syllables":21}})",
       "smart composition limit must be within 10..20 completed readings"},
      {R"({"type":"set_smart_options","options":{"candidate_selection_keys":"aa"}})",
       "smart candidate keys must be 1..32 unique printable ASCII keys"},
  };
  for (const Case& c : cases) {
    const auto operation = parse_ok(c.text);
    const auto checked = engine::check_input_operation(operation);
    if (*c.error == '\0') {
      EXPECT_TRUE(checked.has_value()) << c.text;
    } else {
      ASSERT_FALSE(checked.has_value()) << c.text;
      EXPECT_EQ(checked.error().message(), c.error) << c.text;
    }
  }
}

}  // namespace
}  // namespace ferrolune::ffi
