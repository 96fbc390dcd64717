#include "bopomofo/composer.h"

#include <gtest/gtest.h>

#include <string>

#include "bopomofo/compose.h"
#include "bopomofo/pinyin.h"

namespace ferrolune::bopomofo {
namespace {

// Types the keys one by one; returns the shown text, or "refused <key>".
std::string type_keys(BopomofoComposer& composer, std::string_view keys) {
  for (const char key : keys) {
    if (!composer_feed(composer, static_cast<char32_t>(key))) return std::string("refused ") + key;
  }
  return composer_text(composer);
}

struct Typed {
  BopomofoLayout layout;
  const char* keys;
  const char* bopomofo;
};

// Whole key texts, both composed at once and typed key by key.
TEST(Composer, WorkedKeyTexts) {
  constexpr auto hsu = BopomofoLayout::Hsu;
  constexpr auto e26 = BopomofoLayout::Eten26;
  const Typed cases[] = {
      {hsu, "m", "ㄢ"},     {hsu, "ma", "ㄇㄟ"},   {hsu, "md", "ㄢˊ"},   {hsu, "l", "ㄦ"},      {hsu, "lf", "ㄦˇ"},
      {hsu, "j", "ㄓ"},     {hsu, "je", "ㄐㄧ"},   {hsu, "jej", "ㄐㄧˋ"}, {hsu, "ge", "ㄐㄧ"},   {hsu, "e", "ㄧ"},
      {hsu, "ee", "ㄧㄝ"},  {hsu, "c", "ㄕ"},      {hsu, "ce", "ㄒㄧ"},   {hsu, "cw", "ㄕㄠ"},   {hsu, "a", "ㄘ"},
      {hsu, "hl", "ㄏㄥ"},  {hsu, "bwf", "ㄅㄠˇ"}, {hsu, "s", "ㄙ"},     {hsu, "bs", "ㄅ˙"},
      {e26, "v", "ㄍ"},     {e26, "ve", "ㄑㄧ"},   {e26, "g", "ㄓ"},      {e26, "ge", "ㄐㄧ"},   {e26, "c", "ㄕ"},
      {e26, "cew", "ㄒㄧㄝ"}, {e26, "p", "ㄡ"},    {e26, "pa", "ㄆㄚ"},   {e26, "m", "ㄢ"},      {e26, "mq", "ㄇㄟ"},
      {e26, "t", "ㄤ"},     {e26, "ta", "ㄊㄚ"},   {e26, "h", "ㄦ"},      {e26, "hh", "ㄏㄦ"},   {e26, "w", "ㄘ"},
      {e26, "ew", "ㄧㄝ"},  {e26, "j", "ㄖ"},      {e26, "jj", "ㄖˇ"},    {e26, "q", "ㄗ"},      {e26, "qq", "ㄗㄟ"},
      {e26, "k", "ㄎ"},     {e26, "kk", "ˋ"},      {e26, "l", "ㄥ"},
      {BopomofoLayout::Standard, "1q", "ㄆ"},       {BopomofoLayout::Standard, "1u86", "ㄅㄧㄚˊ"},
      {BopomofoLayout::Standard, "5J/4", "ㄓㄨㄥˋ"}, {BopomofoLayout::Eten, ",", "ㄓ"},
      {BopomofoLayout::Eten, "=", "ㄦ"},
  };
  for (const Typed& c : cases) {
    EXPECT_EQ(render_bopomofo(compose_keys(c.layout, c.keys)), c.bopomofo) << layout_name(c.layout) << " " << c.keys;
    BopomofoComposer composer{.layout = c.layout};
    EXPECT_EQ(type_keys(composer, c.keys), c.bopomofo) << layout_name(c.layout) << " " << c.keys;
    EXPECT_EQ(composer.raw_text, "");
  }
}

TEST(Composer, RefusedKeysLeaveTheComposerUnchanged) {
  const Typed cases[] = {
      {BopomofoLayout::Standard, "1 ", "refused  "},
      {BopomofoLayout::Hsu, "bq", "refused q"},
      {BopomofoLayout::Eten26, "b1", "refused 1"},
      {BopomofoLayout::HanyuPinyin, "3", "refused 3"},
      {BopomofoLayout::HanyuPinyin, "ma3a", "refused a"},
      {BopomofoLayout::HanyuPinyin, "ma1", "refused 1"},
      {BopomofoLayout::HanyuPinyin, "ma6", "refused 6"},
      {BopomofoLayout::HanyuPinyin, "m-", "refused -"},
  };
  for (const Typed& c : cases) {
    BopomofoComposer composer{.layout = c.layout};
    const std::string_view keys = c.keys;
    type_keys(composer, keys.substr(0, keys.size() - 1));
    const BopomofoComposer before = composer;
    EXPECT_EQ(type_keys(composer, keys.substr(keys.size() - 1)), c.bopomofo) << c.keys;
    EXPECT_EQ(composer, before) << c.keys;
  }
  BopomofoComposer composer;
  EXPECT_FALSE(composer_feed(composer, U'\u3105'));
  EXPECT_EQ(composer, BopomofoComposer{});
}

TEST(Composer, PinyinKeepsLowerCaseTextAndSecondToneDigit) {
  BopomofoComposer composer{.layout = BopomofoLayout::HanyuPinyin};
  EXPECT_EQ(type_keys(composer, "ZHONG"), "zhong");
  EXPECT_EQ(render_bopomofo(composer.syllable), "ㄓㄨㄥ");
  composer.clear();
  EXPECT_EQ(type_keys(composer, "ma33"), "ma33");
  EXPECT_EQ(render_bopomofo(composer.syllable), "ㄇㄚˇ");
  EXPECT_EQ(composer.layout, BopomofoLayout::HanyuPinyin);
}

TEST(Composer, BackspaceReResolvesTheRemainingKeys) {
  struct Case {
    BopomofoLayout layout;
    const char* keys;
    std::vector<std::string> after_each_backspace;
  };
  const Case cases[] = {
      {BopomofoLayout::Hsu, "ma", {"ㄢ", ""}},
      {BopomofoLayout::Hsu, "jej", {"ㄐㄧ", "ㄓ", ""}},
      {BopomofoLayout::Hsu, "hl", {"ㄛ", ""}},
      {BopomofoLayout::Eten26, "mq", {"ㄢ", ""}},
      {BopomofoLayout::Eten26, "cew", {"ㄒㄧ", "ㄕ", ""}},
      {BopomofoLayout::Eten26, "jj", {"ㄖ", ""}},
      {BopomofoLayout::Standard, "1u86", {"ㄅㄧㄚ", "ㄅㄧ", "ㄅ", ""}},
      {BopomofoLayout::HanyuPinyin, "zhong3", {"zhong", "zhon", "zho", "zh", "z", ""}},
  };
  for (const Case& c : cases) {
    BopomofoComposer composer{.layout = c.layout};
    type_keys(composer, c.keys);
    for (const std::string& expected : c.after_each_backspace) {
      EXPECT_TRUE(composer_backspace(composer)) << c.keys;
      EXPECT_EQ(composer_text(composer), expected) << c.keys;
    }
    EXPECT_FALSE(composer_backspace(composer)) << c.keys;
    EXPECT_EQ(composer, BopomofoComposer{.layout = c.layout}) << c.keys;
  }
  BopomofoComposer pinyin{.layout = BopomofoLayout::HanyuPinyin};
  type_keys(pinyin, "zhong");
  composer_backspace(pinyin);
  EXPECT_EQ(render_bopomofo(pinyin.syllable), render_bopomofo(parse_pinyin("zhon")));
}

TEST(Composer, ClearEmptiesSyllableAndText) {
  BopomofoComposer composer{.layout = BopomofoLayout::HanyuPinyin};
  type_keys(composer, "ma3");
  composer.clear();
  EXPECT_EQ(composer, BopomofoComposer{.layout = BopomofoLayout::HanyuPinyin});
  EXPECT_EQ(composer_text(composer), "");
}

}  // namespace
}  // namespace ferrolune::bopomofo
