// The reading codec request through the public interface: conversions with
// their options, the codec's failures and refused documents.
#include <gtest/gtest.h>

#include <string>

#include "capi_support.h"
#include "ferrolune.h"

namespace ferrolune::capi {
namespace {

struct Answer {
  int32_t status;
  std::string text;  // the result document, or the last error
};

Answer ask(const std::string& request) {
  ferrolune_result* result = nullptr;
  const int32_t status = ferrolune_reading_codec(request.data(), request.size(), &result);
  if (status != FERROLUNE_OK) {
    EXPECT_EQ(result, nullptr);
    return {status, last_error_text()};
  }
  EXPECT_EQ(last_error_text(), "");
  Answer answer{status, result_text(result)};
  ferrolune_result_free(&result);
  return answer;
}

std::string answer(const std::string& qstring, const std::string& reading, int count) {
  return R"({"schema_version":1,"kind":"reading_codec","qstring":")" + qstring + R"(","reading":")" + reading +
         R"(","syllable_count":)" + std::to_string(count) + "}";
}

struct Case {
  std::string request;
  std::string expected;  // a whole answer document, or the failure message
};

TEST(ReadingCodecRequest, Conversions) {
  const Case cases[] = {
      {R"({"operation":"decode","qstring":"fGZo"})", answer("fGZo", "ㄅㄧㄠˊ,ㄇㄚ˙", 2)},
      {R"({"operation":"encode","reading":"ㄅㄧㄠˊ,ㄇㄚ˙"})", answer("fGZo", "ㄅㄧㄠˊ,ㄇㄚ˙", 2)},
      {R"({"operation":"encode","reading":"ㄅㄧㄠˊ ㄇㄚ˙","options":{"separator":"whitespace"}})",
       answer("fGZo", "ㄅㄧㄠˊ ㄇㄚ˙", 2)},
      {R"({"operation":"encode","reading":"ㄅ\tㄆ\u3000ㄇ","options":{"separator":"whitespace"}})",
       answer("1030", "ㄅ ㄇ", 2)},
      {R"({"operation":"encode","reading":"ㄅ,,ㄆ","options":{}})", answer("1020", "ㄅ,ㄆ", 2)},
      {R"({"operation":"encode","reading":"ˊ"})", answer("_?", "ˊ", 1)},
      {R"({"operation":"encode","reading":"","options":{"empty":"skip"}})", answer("", "", 0)},
      {R"({"operation":"decode","qstring":"1?"})", answer("1?", "ㄘㄧㄦ", 1)},
      {R"({"operation":"decode","qstring":"1?2","options":{"odd_tail":"ignore"}})", answer("1?2", "ㄘㄧㄦ", 1)},
      {R"({"operation":"decode","qstring":"~~"})", answer("~~", "ㄒㄩ", 1)},
      {R"({"operation":"decode","qstring":"0000"})", answer("0000", ",", 2)},
      {R"({"operation":"decode","qstring":"0000","options":{"omit_leading_empty":true}})", answer("0000", "", 2)},
      {R"({"options":{"separator":"space","omit_leading_empty":true},"qstring":"Y200","operation":"decode"})",
       answer("Y200", "ㄅㄧㄛ ", 2)},
      {R"({"operation":"decode","qstring":"\\0"})", answer("\\\\0", "ㄨ", 1)},  // an escaped backslash
  };
  for (const Case& c : cases) {
    const Answer got = ask(c.request);
    EXPECT_EQ(got.status, FERROLUNE_OK) << c.request << " " << got.text;
    EXPECT_EQ(got.text, c.expected) << c.request;
  }
}

TEST(ReadingCodecRequest, CodecFailuresAreInvalidArguments) {
  const Case cases[] = {
      {R"({"operation":"decode","qstring":"~~","options":{"query":"canonical"}})",
       "phonetic query contains an invalid two-byte key"},
      // the operation comes last: the options still belong to decode
      {R"({"options":{"query":"canonical"},"qstring":"~~","operation":"decode"})",
       "phonetic query contains an invalid two-byte key"},
      {R"({"operation":"decode","qstring":"1/"})", "phonetic query contains an invalid two-byte key"},
      {R"({"operation":"decode","qstring":"1\u007f"})", "phonetic query contains an invalid two-byte key"},
      {R"({"operation":"decode","qstring":"1?2"})", "phonetic query has an incomplete two-byte key"},
      {R"({"operation":"decode","qstring":"1\u0000"})", "reading codec input contains NUL"},
      {R"({"operation":"encode","reading":"ㄅ\u0000"})", "reading codec input contains NUL"},
      {R"({"operation":"encode","reading":"ˊ","options":{"require_phonetic":true}})",
       "reading syllable needs a phonetic component"},
      {R"({"operation":"encode","reading":"ㄅx","options":{"components":"unique_known"}})",
       "unknown phonetic component: x"},
      {R"({"operation":"encode","reading":"ㄧㄨ","options":{"components":"unique_known"}})",
       "duplicate phonetic component class: ㄨ"},
      {R"({"operation":"encode","reading":"ㄅ\tㄆ\u3000ㄇ","options":{"separator":"whitespace","components":"unique_known"}})",
       "unknown phonetic component: \u3000"},
      {R"({"operation":"encode","reading":"ㄅ, ,ㄆ","options":{"empty":"reject"}})",
       "reading contains an empty syllable"},
      {R"({"operation":"encode","reading":"ㄅ,","options":{"empty":"reject"}})",
       "reading contains an empty syllable"},
      {R"({"operation":"encode","reading":"","options":{"empty":"reject"}})", "reading contains an empty syllable"},
  };
  for (const Case& c : cases) {
    const Answer got = ask(c.request);
    EXPECT_EQ(got.status, FERROLUNE_INVALID_ARGUMENT) << c.request;
    EXPECT_EQ(got.text, c.expected) << c.request;
  }
}

TEST(ReadingCodecRequest, RefusedDocumentsNameTheProblem) {
  const Case cases[] = {
      {R"({"operation":"encode"})", "missing field `reading`"},
      {R"({"operation":"decode","reading":"fG"})", "unknown field `reading`, expected one of `operation`, `qstring`, `options`"},
      {R"({"qstring":"fG"})", "missing field `operation`"},
      {R"({"operation":"transcode","qstring":"fG"})",
       "unknown variant `transcode` for operation, expected one of `encode`, `decode`"},
      {R"({"operation":"encode","reading":"ㄅ","options":{"query":"canonical"}})",
       "unknown field `query`, expected one of `separator`, `components`, `empty`, `require_phonetic`"},
      {R"({"operation":"decode","qstring":"fG","options":{"empty":"skip"}})",
       "unknown field `empty`, expected one of `separator`, `query`, `odd_tail`, `omit_leading_empty`"},
      {R"({"operation":"encode","reading":"ㄅ","extra":1})", "unknown field `extra`"},
      {R"({"operation":"encode","reading":"ㄅ","options":{"separator":"space"}})",
       "unknown variant `space` for separator, expected one of `comma`, `whitespace`"},
      {R"({"operation":"decode","qstring":"fG","options":{"omit_leading_empty":1}})", "expected a boolean"},
      {R"({"operation":"encode","reading":5})", "expected a string for reading"},
      {R"({"operation":"encode","reading":"ㄅ","options":null})", "invalid type: null"},
      {R"({"operation":"encode","operation":"decode","reading":"ㄅ"})", "duplicate field `operation`"},
      {R"(["operation"])", "expected an object"},
      {R"({"operation":"encode","reading":"ㄅ"} {})", "must not be followed by other values"},
      {R"({"operation":"encode","reading":"ㄅ")", "syntax error"},
      {"", "syntax error"},
  };
  const std::string prefix = "invalid reading codec request: ";
  for (const Case& c : cases) {
    const Answer got = ask(c.request);
    EXPECT_EQ(got.status, FERROLUNE_INVALID_ARGUMENT) << c.request;
    EXPECT_EQ(got.text.substr(0, prefix.size()), prefix) << got.text;
    EXPECT_NE(got.text.find(c.expected), std::string::npos) << got.text;
    EXPECT_NE(got.text.find(" at line 1 column "), std::string::npos) << got.text;
  }
}

}  // namespace
}  // namespace ferrolune::capi
