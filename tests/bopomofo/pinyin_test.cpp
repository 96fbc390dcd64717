#include "bopomofo/pinyin.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string_view>

#include "bopomofo/composer.h"

namespace ferrolune::bopomofo {
namespace {

TEST(ParsePinyin, WorkedSpellings) {
  struct Case {
    const char* pinyin;
    const char* bopomofo;
  };
  const Case cases[] = {
      {"zhong1", "ㄓㄨㄥ"}, {"lv4", "ㄌㄩˋ"},    {"lve4", "ㄌㄩㄝˋ"},    {"jue2", "ㄐㄩㄝˊ"},
      {"xun2", "ㄒㄩㄣˊ"},  {"fong2", "ㄈㄥˊ"},  {"zhi", "ㄓ"},         {"zhe3", "ㄓㄜˇ"},
      {"ci2", "ㄘˊ"},       {"er4", "ㄦˋ"},      {"wo3", "ㄨㄛˇ"},      {"wu3", "ㄨˇ"},
      {"yi1", "ㄧ"},        {"ye4", "ㄧㄝˋ"},    {"you2", "ㄧㄡˊ"},     {"yong3", "ㄩㄥˇ"},
      {"qiong2", "ㄑㄩㄥˊ"}, {"lie", "ㄌㄧㄝ"},  {"jong", "ㄐㄨㄥ"},    {"bs", "ㄙ"},
      {"bx", "ㄅ"},         {"ng", "ㄋ"},        {"yuang", "ㄍㄩㄢ"},   {"ma5", "ㄇㄚ˙"},
      {"ma6", "ㄇㄚ"},      {"3ma", "ˇ"},        {"", ""},
      // further rhymes and finals
      {"lun2", "ㄌㄨㄣˊ"},  {"jun4", "ㄐㄩㄣˋ"}, {"gui4", "ㄍㄨㄟˋ"},   {"liu2", "ㄌㄧㄡˊ"},
      {"xiang3", "ㄒㄧㄤˇ"}, {"shuang1", "ㄕㄨㄤ"}, {"ge4", "ㄍㄜˋ"}, {"yuan2", "ㄩㄢˊ"},
      {"yue4", "ㄩㄝˋ"},    {"wei4", "ㄨㄟˋ"},   {"ri4", "ㄖˋ"},        {"nü3", "ㄋㄩˇ"},
      {"err", "ㄦ"},        {"ma33", "ㄇㄚˇ"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(render_bopomofo(parse_pinyin(c.pinyin)), c.bopomofo) << c.pinyin;
    // Spellings the composer accepts give the same syllable typed one by one.
    const std::string_view text = c.pinyin;
    const std::size_t digits = std::min(text.find_first_of("0123456789"), text.size());
    const bool typable = digits > 0 && text.substr(0, digits).find_first_not_of("abcdefghijklmnopqrstuvwxyz") ==
                                           std::string_view::npos &&
                         text.substr(digits).find_first_not_of("2345") == std::string_view::npos;
    if (!typable) continue;
    BopomofoComposer composer{.layout = BopomofoLayout::HanyuPinyin};
    for (const char key : text) EXPECT_TRUE(composer_feed(composer, static_cast<char32_t>(key))) << c.pinyin;
    EXPECT_EQ(composer_text(composer), c.pinyin);
    EXPECT_EQ(render_bopomofo(composer.syllable), c.bopomofo) << c.pinyin;
  }
}

}  // namespace
}  // namespace ferrolune::bopomofo
