#include "walker/polyphone_aliases.h"

#include <gtest/gtest.h>

#include <string>

#include "bopomofo/reading_codec.h"
#include "bopomofo/syllable.h"

namespace ferrolune::walker {
namespace {

// Every member is found from its syllable, so the keys cannot drift from
// the reading codec.
TEST(PolyphoneAliases, MembersFromTheirSyllables) {
  struct Case {
    const char* syllable;
    const char* group;
  } cases[] = {{"ㄧ", "F0#"},   {"ㄧˋ", "F0#"},   {"ㄧˊ", "F0#"},  {"ㄅㄨˋ", "L_#"}, {"ㄅㄨˊ", "L_#"},
               {"ㄕˊ", "p?#"},  {"ㄕㄜˊ", "p?#"}, {"ㄕㄣˊ", "p?#"}, {"ㄜˋ", ":b#"},  {"ㄛˊ", "qA#"},
               {"ㄜˊ", "qA#"},  {"ㄍㄜˋ", "Cb#"}, {"ㄍㄜ˙", "Cb#"}, {"ㄇㄣˊ", "mJ#"}, {"ㄇㄣ˙", "mJ#"},
               {"ㄉㄠˇ", "4W#"}, {"ㄉㄠˋ", "4W#"}, {"ㄇㄛ˙", "cp#"}, {"ㄇㄜ˙", "cp#"}, {"ㄌㄧ", "N0#"},
               {"ㄌㄧˇ", "N0#"}, {"ㄋㄚˇ", "OP#"}, {"ㄋㄟˇ", "OP#"}, {"ㄇㄚˊ", "k@#"}, {"ㄇㄚ˙", "k@#"},
               {"ㄏㄨㄚ", "p1#"}, {"ㄏㄨㄚˊ", "p1#"}, {"ㄨˋ", "K_#"}, {"ㄜˇ", "K_#"},  {"ㄡˋ", "gg#"},
               {"ㄩˇ", "gg#"},  {"ㄏㄜˋ", "Eb#"}, {"ㄒㄧㄚˋ", "Eb#"}, {"ㄋㄜ", "R3#"}, {"ㄋㄧˊ", "R3#"},
               {"ㄌㄧㄝ", "r4#"}, {"ㄌㄧㄝˇ", "r4#"}, {"ㄗㄢˊ", "tI#"}, {"ㄗㄚˊ", "tI#"}, {"ㄗˇ", "RO#"},
               {"ㄗ˙", "RO#"},  {"ㄦ", "V>#"},    {"ㄦˊ", "V>#"}};
  for (const auto& c : cases) {
    const std::string key = bopomofo::syllable_qstring(bopomofo::bopomofo_syllable(c.syllable));
    EXPECT_EQ(alias_group_key(key), std::optional<std::string_view>(c.group)) << c.syllable << " " << key;
  }
  EXPECT_EQ(alias_group_key(bopomofo::syllable_qstring(bopomofo::bopomofo_syllable("ㄅㄚ"))),
            std::nullopt);
  EXPECT_EQ(alias_group_key("F0F0"), std::nullopt);  // only one-syllable keys
}

}  // namespace
}  // namespace ferrolune::walker
