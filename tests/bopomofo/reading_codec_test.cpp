#include "bopomofo/reading_codec.h"

#include <gtest/gtest.h>

#include <string>

namespace ferrolune::bopomofo {
namespace {

// Either the conversion's key, text and count, or its error message.
std::string outcome(const CodecResult<ReadingConversion>& result) {
  if (!result) return "error: " + result.error().message();
  return result->qstring + " | " + result->reading + " | " + std::to_string(result->syllable_count);
}

TEST(ReadingKey, WorkedKeys) {
  EXPECT_EQ(syllable_qstring(BopomofoSyllable{}), "00");
  EXPECT_EQ(syllable_qstring(bopomofo_syllable("ㄅㄧㄠˊ")), "fG");
  EXPECT_EQ(syllable_qstring(bopomofo_syllable("ㄇㄚ˙")), "Zo");
  EXPECT_EQ(syllable_qstring(bopomofo_syllable("ㄘㄧㄦ")), "1?");
  EXPECT_EQ(syllable_qstring(bopomofo_syllable("ㄙㄩㄦ˙")), "|}");  // the largest key
}

TEST(EncodeReading, OptionsAndPolicies) {
  constexpr EncodeOptions defaults;
  constexpr EncodeOptions unique{.components = ComponentPolicy::UniqueKnown};
  constexpr EncodeOptions reject{.empty = EmptySyllablePolicy::Reject};
  constexpr EncodeOptions spaces{.separator = EncodeSeparator::Whitespace};
  constexpr EncodeOptions spaces_unique{.separator = EncodeSeparator::Whitespace,
                                        .components = ComponentPolicy::UniqueKnown};
  constexpr EncodeOptions phonetic{.require_phonetic = true};
  struct Case {
    std::string text;
    EncodeOptions options;
    std::string expected;
  };
  const Case cases[] = {
      {"ㄅㄧㄠˊ,ㄇㄚ˙", defaults, "fGZo | ㄅㄧㄠˊ,ㄇㄚ˙ | 2"},
      {"ㄅㄧㄠˊ ㄇㄚ˙", spaces, "fGZo | ㄅㄧㄠˊ ㄇㄚ˙ | 2"},
      {"ˊㄅ", defaults, "`? | ㄅˊ | 1"},  // order inside a syllable does not matter
      {"ㄅx", defaults, "10 | ㄅ | 1"},
      {"ㄅx", unique, "error: unknown phonetic component: x"},
      {"ㄅㄆ", defaults, "20 | ㄆ | 1"},
      {"ㄅㄆ", unique, "error: duplicate phonetic component class: ㄆ"},
      {"ㄧㄨ", defaults, "\\0 | ㄨ | 1"},
      {"ㄧㄨ", unique, "error: duplicate phonetic component class: ㄨ"},
      {"ㄅ,,ㄆ", defaults, "1020 | ㄅ,ㄆ | 2"},
      {"ㄅ,,ㄆ", reject, "error: reading contains an empty syllable"},
      {"ㄅ,", reject, "error: reading contains an empty syllable"},
      {"ㄅ, ,ㄆ", reject, "error: reading contains an empty syllable"},  // the blank is trimmed
      {" ㄅ\t,\nㄆ\r", reject, "1020 | ㄅ,ㄆ | 2"},
      {"ㄅ, ,ㄆ", unique, "error: unknown phonetic component:  "},  // no trimming under skip
      {"", defaults, " |  | 0"},
      {"", reject, "error: reading contains an empty syllable"},
      {" \t", spaces, " |  | 0"},
      {"ˊ", defaults, "_? | ˊ | 1"},
      {"ˊ", phonetic, "error: reading syllable needs a phonetic component"},
      {"ㄅ\tㄆ\u3000ㄇ", spaces, "1030 | ㄅ ㄇ | 2"},
      {"ㄅ\tㄆ\u3000ㄇ", spaces_unique, "error: unknown phonetic component: \u3000"},
      {"ㄅ ,ㄆ", defaults, "1020 | ㄅ,ㄆ | 2"},  // under comma a blank is an unknown character
      {std::string("ㄅ\0ㄆ", 7), defaults, "error: reading codec input contains NUL"},
      {"ㄅ\xFF", unique, "error: unknown phonetic component: \uFFFD"},
  };
  for (const Case& c : cases) EXPECT_EQ(outcome(encode_reading(c.text, c.options)), c.expected) << c.text;
}

TEST(DecodeQstring, OptionsAndPolicies) {
  constexpr DecodeOptions defaults;
  constexpr DecodeOptions ignore{.odd_tail = OddTailPolicy::Ignore};
  constexpr DecodeOptions omit{.omit_leading_empty = true};
  constexpr DecodeOptions space_omit{.separator = DecodeSeparator::Space, .omit_leading_empty = true};
  constexpr DecodeOptions canonical{.query = QueryPolicy::Canonical};
  struct Case {
    std::string key;
    DecodeOptions options;
    std::string expected;
  };
  const Case cases[] = {
      {"fGZo", defaults, "fGZo | ㄅㄧㄠˊ,ㄇㄚ˙ | 2"},
      {"1?", defaults, "1? | ㄘㄧㄦ | 1"},
      {"1?2", defaults, "error: phonetic query has an incomplete two-byte key"},
      {"1?2", ignore, "1?2 | ㄘㄧㄦ | 1"},
      {"0000", defaults, "0000 | , | 2"},
      {"0000", omit, "0000 |  | 2"},
      {"Y200", space_omit, "Y200 | ㄅㄧㄛ  | 2"},
      {"00Y200", omit, "00Y200 | ㄅㄧㄛ, | 3"},
      {"~~", defaults, "~~ | ㄒㄩ | 1"},
      {"~~", canonical, "error: phonetic query contains an invalid two-byte key"},
      {"|}", canonical, "|} | ㄙㄩㄦ˙ | 1"},
      {"1/", defaults, "error: phonetic query contains an invalid two-byte key"},
      {"1\x7F", defaults, "error: phonetic query contains an invalid two-byte key"},
      {"fG\xC3\xA9", defaults, "error: phonetic query contains an invalid two-byte key"},
      {"", defaults, " |  | 0"},
      {std::string("1\0", 2), defaults, "error: reading codec input contains NUL"},
  };
  for (const Case& c : cases) EXPECT_EQ(outcome(decode_qstring(c.key, c.options)), c.expected) << c.key;
}

TEST(ValidatePhraseKey, AcceptsOnlyMatchingCanonicalPhoneticKeys) {
  const std::string ba = syllable_qstring(bopomofo_syllable("ㄅㄚ"));
  struct Case {
    std::string phrase;
    std::string key;
    bool valid;
  };
  const Case cases[] = {
      {"八", ba, true},
      {"八八八八八八八八", ba + ba + ba + ba + ba + ba + ba + ba, true},
      {"八八八八八八八八八", ba + ba + ba + ba + ba + ba + ba + ba + ba, false},
      {"", "", false},
      {"八八", ba, false},
      {"八", ba + "0", false},
      {"八", "_?", false},  // tone only
      {"八", "00", false},
      {"八", "~~", false},  // not canonical
      {"八\n", ba + ba, false},
      {"八\u0085", ba + ba, false},
      {"\xFF", ba, false},
  };
  for (const Case& c : cases) {
    const auto result = validate_phrase_key(c.phrase, c.key);
    EXPECT_EQ(result.has_value(), c.valid) << c.phrase << " " << c.key;
    if (!result) {
      EXPECT_EQ(result.error(), "user phrase needs 1..8 characters and matching canonical phonetic query keys");
    }
  }
}

}  // namespace
}  // namespace ferrolune::bopomofo
