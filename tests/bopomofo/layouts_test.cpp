#include "bopomofo/layouts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bopomofo/compose.h"

namespace ferrolune::bopomofo {
namespace {

constexpr BopomofoLayout kKeyLayouts[] = {BopomofoLayout::Standard, BopomofoLayout::Hsu, BopomofoLayout::Eten,
                                          BopomofoLayout::Eten26};

// The 41 components in class order: initials, medials, finals, tones.
std::vector<BopomofoSyllable> all_components() {
  std::vector<BopomofoSyllable> components;
  for (unsigned v = 1; v <= kInitialCount; ++v) components.push_back(initial_component(v));
  for (unsigned v = 1; v <= kMedialCount; ++v) components.push_back(medial_component(v));
  for (unsigned v = 1; v <= kFinalCount; ++v) components.push_back(final_component(v));
  for (unsigned v = 1; v <= kToneCount; ++v) components.push_back(tone_component(v));
  return components;
}

std::string candidates_text(BopomofoLayout layout, char32_t key) {
  std::string text;
  for (const BopomofoSyllable component : layout_components(layout, key)) text += render_bopomofo(component);
  return text;
}

TEST(Layouts, SingleComponentLayoutsInComponentOrder) {
  struct Case {
    BopomofoLayout layout;
    std::string keys;
  };
  const Case cases[] = {
      {BopomofoLayout::Standard, "1qaz2wsxedcrfv5tgbyhnujm8ik,9ol.0p;/-6347"},
      {BopomofoLayout::Eten, "bpmfdtnlvkhg7c,./j;'sexuaorwiqzy890-=2341"},
  };
  for (const Case& c : cases) {
    std::string keys;
    for (const BopomofoSyllable component : all_components()) {
      const auto key = layout_key_for(c.layout, component);
      ASSERT_TRUE(key);
      keys += *key;
      EXPECT_EQ(layout_components(c.layout, static_cast<char32_t>(*key)).size(), 1u);
    }
    EXPECT_EQ(keys, c.keys);
  }
}

TEST(Layouts, SharedKeysOfHsuAndEten26) {
  struct Case {
    BopomofoLayout layout;
    char key;
    const char* candidates;
  };
  const Case cases[] = {
      {BopomofoLayout::Hsu, 'm', "ㄇㄢ"},      {BopomofoLayout::Hsu, 'l', "ㄌㄥㄦ"},
      {BopomofoLayout::Hsu, 'j', "ㄐㄓˋ"},     {BopomofoLayout::Hsu, 'e', "ㄧㄝ"},
      {BopomofoLayout::Hsu, 's', "ㄙ˙"},       {BopomofoLayout::Hsu, 'y', "ㄚ"},
      {BopomofoLayout::Hsu, 'q', ""},          {BopomofoLayout::Hsu, 'M', "ㄇㄢ"},
      {BopomofoLayout::Eten26, 'v', "ㄍㄑ"},   {BopomofoLayout::Eten26, 'g', "ㄓㄐ"},
      {BopomofoLayout::Eten26, 'w', "ㄘㄝ"},   {BopomofoLayout::Eten26, 'q', "ㄗㄟ"},
      {BopomofoLayout::Eten26, 'y', "ㄔ"},     {BopomofoLayout::Eten26, '1', ""},
      {BopomofoLayout::Standard, ' ', ""},     {BopomofoLayout::HanyuPinyin, 'a', ""},
  };
  for (const Case& c : cases) EXPECT_EQ(candidates_text(c.layout, static_cast<char32_t>(c.key)), c.candidates) << c.key;

  // Each component sits on exactly one key, the one layout_key_for names.
  for (const BopomofoLayout layout : kKeyLayouts) {
    unsigned keys = 0;
    unsigned listed = 0;
    for (char32_t key = 0; key < 128; ++key) {
      const auto candidates = layout_components(layout, key);
      if (candidates.empty() || (key >= U'A' && key <= U'Z')) continue;
      ++keys;
      for (const BopomofoSyllable component : candidates) {
        ++listed;
        EXPECT_EQ(layout_key_for(layout, component), static_cast<char>(key)) << layout_name(layout);
      }
    }
    EXPECT_EQ(listed, 41u) << layout_name(layout);
    const unsigned expected_keys[] = {41, 25, 41, 26};
    EXPECT_EQ(keys, expected_keys[static_cast<int>(layout)]) << layout_name(layout);
  }
  EXPECT_EQ(layout_key_for(BopomofoLayout::Hsu, BopomofoSyllable{}), std::nullopt);
  EXPECT_EQ(layout_key_for(BopomofoLayout::HanyuPinyin, initial_component(1)), std::nullopt);
}

// A component typed alone gives itself, except where a shared key's lone
// reading picks another of its candidates.
TEST(Layouts, EveryComponentAloneThroughItsKey) {
  struct Reread {
    BopomofoLayout layout;
    char key;
    const char* alone;
  };
  const Reread rereads[] = {
      {BopomofoLayout::Hsu, 'm', "ㄢ"},    {BopomofoLayout::Hsu, 'f', "ㄈ"},    {BopomofoLayout::Hsu, 'd', "ㄉ"},
      {BopomofoLayout::Hsu, 'n', "ㄣ"},    {BopomofoLayout::Hsu, 'l', "ㄦ"},    {BopomofoLayout::Hsu, 'g', "ㄜ"},
      {BopomofoLayout::Hsu, 'k', "ㄤ"},    {BopomofoLayout::Hsu, 'h', "ㄛ"},    {BopomofoLayout::Hsu, 'j', "ㄓ"},
      {BopomofoLayout::Hsu, 'v', "ㄔ"},    {BopomofoLayout::Hsu, 'c', "ㄕ"},    {BopomofoLayout::Hsu, 'a', "ㄘ"},
      {BopomofoLayout::Hsu, 's', "ㄙ"},    {BopomofoLayout::Hsu, 'e', "ㄧ"},    {BopomofoLayout::Eten26, 'p', "ㄡ"},
      {BopomofoLayout::Eten26, 'm', "ㄢ"}, {BopomofoLayout::Eten26, 'f', "ㄈ"}, {BopomofoLayout::Eten26, 'd', "ㄉ"},
      {BopomofoLayout::Eten26, 't', "ㄤ"}, {BopomofoLayout::Eten26, 'n', "ㄣ"}, {BopomofoLayout::Eten26, 'l', "ㄥ"},
      {BopomofoLayout::Eten26, 'v', "ㄍ"}, {BopomofoLayout::Eten26, 'k', "ㄎ"}, {BopomofoLayout::Eten26, 'h', "ㄦ"},
      {BopomofoLayout::Eten26, 'g', "ㄓ"}, {BopomofoLayout::Eten26, 'c', "ㄕ"}, {BopomofoLayout::Eten26, 'j', "ㄖ"},
      {BopomofoLayout::Eten26, 'q', "ㄗ"}, {BopomofoLayout::Eten26, 'w', "ㄘ"},
  };
  for (const BopomofoLayout layout : kKeyLayouts) {
    for (const BopomofoSyllable component : all_components()) {
      const char key = *layout_key_for(layout, component);
      std::string expected = render_bopomofo(component);
      for (const Reread& r : rereads) {
        if (r.layout == layout && r.key == key) expected = r.alone;
      }
      EXPECT_EQ(render_bopomofo(compose_keys(layout, std::string(1, key))), expected)
          << layout_name(layout) << " " << key;
    }
  }
}

TEST(Layouts, RenderedKeysComposeBackOnSingleComponentLayouts) {
  EXPECT_EQ(render_layout_keys(BopomofoLayout::Standard, bopomofo_syllable("ㄅㄧㄠˊ")), "1ul6");
  EXPECT_EQ(render_layout_keys(BopomofoLayout::Eten, bopomofo_syllable("ㄓㄨㄥ")), ",x-");
  EXPECT_EQ(render_layout_keys(BopomofoLayout::HanyuPinyin, bopomofo_syllable("ㄓㄨㄥ")), "");
  for (const BopomofoLayout layout : {BopomofoLayout::Standard, BopomofoLayout::Eten}) {
    for (unsigned ordinal = 0; ordinal < kSyllableCount; ++ordinal) {
      const BopomofoSyllable syllable = syllable_from_ordinal(ordinal);
      ASSERT_EQ(compose_keys(layout, render_layout_keys(layout, syllable)), syllable)
          << layout_name(layout) << " " << render_bopomofo(syllable);
    }
  }
}

TEST(Layouts, IsLayoutKey) {
  struct Case {
    BopomofoLayout layout;
    char32_t character;
    bool key;
  };
  const Case cases[] = {
      {BopomofoLayout::Standard, U'1', true},     {BopomofoLayout::Standard, U' ', false},
      {BopomofoLayout::Standard, U'Q', true},     {BopomofoLayout::Eten, U'=', true},
      {BopomofoLayout::Hsu, U'q', false},         {BopomofoLayout::Hsu, U'1', false},
      {BopomofoLayout::Eten26, U'Q', true},       {BopomofoLayout::Eten26, U'\u3105', false},
      {BopomofoLayout::HanyuPinyin, U'Z', true},  {BopomofoLayout::HanyuPinyin, U'2', true},
      {BopomofoLayout::HanyuPinyin, U'5', true},  {BopomofoLayout::HanyuPinyin, U'1', false},
      {BopomofoLayout::HanyuPinyin, U'6', false}, {BopomofoLayout::HanyuPinyin, U'\u00FC', false},
      {BopomofoLayout::Standard, U'\u0131', false},  // never folded to an ASCII key
  };
  for (const Case& c : cases) {
    EXPECT_EQ(is_layout_key(c.layout, c.character), c.key)
        << layout_name(c.layout) << " " << static_cast<unsigned>(c.character);
  }
}

}  // namespace
}  // namespace ferrolune::bopomofo
