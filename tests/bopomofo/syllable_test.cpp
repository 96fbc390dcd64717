#include "bopomofo/syllable.h"

#include <gtest/gtest.h>

#include "bopomofo/reading_codec.h"

namespace ferrolune::bopomofo {
namespace {

TEST(Syllable, FieldsRenderAndOrdinal) {
  struct Case {
    BopomofoSyllable syllable;
    const char* text;
    unsigned ordinal;
    bool phonetic;
    bool toned;
  };
  const Case cases[] = {
      {BopomofoSyllable{}, "", 0, false, false},
      {BopomofoSyllable{0x0BA1}, "ㄅㄧㄠˊ", 1871, true, true},
      {BopomofoSyllable::from_fields(3, 0, 1, 4), "ㄇㄚ˙", 5019, true, true},  // the dot comes last
      {BopomofoSyllable::from_fields(21, 3, 13, 4), "ㄙㄩㄦ˙", 6159, true, true},
      {tone_component(1), "ˊ", 1232, false, true},
      {BopomofoSyllable::from_fields(4, 2, 12, 0), "ㄈㄨㄥ", 4 + 44 + 1056, true, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(render_bopomofo(c.syllable), c.text);
    EXPECT_EQ(syllable_ordinal(c.syllable), c.ordinal) << c.text;
    EXPECT_EQ(c.syllable.phonetic(), c.phonetic) << c.text;
    EXPECT_EQ(c.syllable.toned(), c.toned) << c.text;
    EXPECT_EQ(bopomofo_syllable(c.text), c.syllable) << c.text;
  }
}

TEST(Syllable, MergeReplacesOnlyTheComponentsClass) {
  struct Case {
    const char* syllable;
    const char* component;
    const char* merged;
  };
  const Case cases[] = {
      {"ㄅㄧㄢ", "ㄨ", "ㄅㄨㄢ"}, {"ㄇㄚˊ", "ˇ", "ㄇㄚˇ"}, {"ㄅㄚ", "ㄇ", "ㄇㄚ"},
      {"ㄅㄚ", "", "ㄅㄚ"},       {"", "˙", "˙"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(render_bopomofo(merge_component(bopomofo_syllable(c.syllable), bopomofo_syllable(c.component))),
              c.merged);
  }
}

TEST(Syllable, OccupancyComparesBelowALaterClassOnly) {
  const BopomofoSyllable bi = bopomofo_syllable("ㄅㄧ");
  EXPECT_EQ(occupancy_mask(bi), kInitialMask | kMedialMask);
  EXPECT_LT(occupancy_mask(bi), kFinalMask);
  EXPECT_GE(occupancy_mask(bi), kMedialMask);
  EXPECT_GE(occupancy_mask(bopomofo_syllable("ㄚ")), kMedialMask);
  EXPECT_EQ(occupancy_mask(BopomofoSyllable{}), 0);
}

TEST(Syllable, EveryComponentSymbolAndNothingElse) {
  // 21 initials, 3 medials, 13 finals in code-point order, then the tones.
  unsigned count = 0;
  for (char32_t c = U'\u3100'; c < U'\u3130'; ++c) {
    if (const auto component = component_of(c)) {
      ++count;
      EXPECT_EQ(occupancy_mask(*component) & component->value, component->value);
      EXPECT_EQ(bopomofo_syllable(render_bopomofo(*component)), *component);
    }
  }
  EXPECT_EQ(count, 37u);
  EXPECT_EQ(component_of(U'\u3105'), initial_component(1));
  EXPECT_EQ(component_of(U'\u3129'), medial_component(3));
  EXPECT_EQ(component_of(U'\u3126'), final_component(13));
  EXPECT_EQ(component_of(U'\u02D9'), tone_component(4));
  EXPECT_EQ(component_of(U'\u02C9'), std::nullopt);  // the macron is no tone mark
  EXPECT_EQ(component_of(U'\u312A'), std::nullopt);
}

// Ordinal, reading key and canonical text all lead back to the same syllable.
TEST(Syllable, EverySyllableRoundTrips) {
  for (unsigned ordinal = 0; ordinal < kSyllableCount; ++ordinal) {
    const BopomofoSyllable syllable = syllable_from_ordinal(ordinal);
    ASSERT_LE(syllable.initial(), kInitialCount);
    ASSERT_LE(syllable.final(), kFinalCount);
    ASSERT_LE(syllable.tone(), kToneCount);
    ASSERT_EQ(syllable.value & 0xC000, 0);
    ASSERT_EQ(syllable_ordinal(syllable), ordinal);

    const std::string key = syllable_qstring(syllable);
    ASSERT_EQ(key.size(), 2u);
    ASSERT_EQ(qstring_syllable(key), syllable) << key;

    const std::string text = render_bopomofo(syllable);
    const auto encoded = encode_reading(text, {.components = ComponentPolicy::UniqueKnown});
    if (syllable.empty()) {
      ASSERT_TRUE(encoded && encoded->syllable_count == 0);
      continue;
    }
    ASSERT_TRUE(encoded) << text;
    EXPECT_EQ(encoded->qstring, key) << text;
    EXPECT_EQ(encoded->reading, text);
    const auto decoded = decode_qstring(key, {.query = QueryPolicy::Canonical});
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->reading, text);
  }
}

}  // namespace
}  // namespace ferrolune::bopomofo
