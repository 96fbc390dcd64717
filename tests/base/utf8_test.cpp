#include "base/utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace ferrolune::base {
namespace {

TEST(Utf8, AcceptsWellFormedAndRefusesMalformed) {
  struct Case {
    std::string text;
    bool valid;
  };
  const Case cases[] = {
      {"", true},
      {"abc", true},
      {"\xE6\x88\x91", true},             // 我
      {"\xF0\x9F\x98\x80", true},         // an emoji
      {"\xC0\xAF", false},                // overlong slash
      {"\xED\xA0\x80", false},            // surrogate
      {"\xF4\x90\x80\x80", false},        // past U+10FFFF
      {"\xE6\x88", false},                // truncated
      {"\x80", false},                    // lone continuation
  };
  for (const auto& c : cases) EXPECT_EQ(is_valid_utf8(c.text), c.valid) << c.text;
}

TEST(Utf8, DecodesAndEncodesScalars) {
  const std::string text = "a\xE6\x88\x91\xF0\x9F\x98\x80";
  std::size_t pos = 0;
  std::string rebuilt;
  while (auto scalar = next_scalar(text, pos)) append_utf8(rebuilt, *scalar);
  EXPECT_EQ(pos, text.size());
  EXPECT_EQ(rebuilt, text);
  EXPECT_EQ(scalar_count(text), 3u);
}

}  // namespace
}  // namespace ferrolune::base
