#include "table/unicode_tables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>

#include "base/utf8.h"
#include "table/canonical_candidate.h"
#include "table/common_characters.h"

namespace ferrolune::table {
namespace {

TEST(UnicodeTables, CompatibilityIdeographsAreSortedSingletonsOfTheTwoBlocks) {
  EXPECT_EQ(kCompatibilityDecompositions.size(), 1002u);
  EXPECT_TRUE(std::is_sorted(kCompatibilityDecompositions.begin(),
                             kCompatibilityDecompositions.end(),
                             [](const CompatibilityPair& a, const CompatibilityPair& b) {
                               return a.compatibility < b.compatibility;
                             }));
  for (const CompatibilityPair& pair : kCompatibilityDecompositions) {
    const bool in_block = (pair.compatibility >= 0xF900 && pair.compatibility <= 0xFAD9) ||
                          (pair.compatibility >= 0x2F800 && pair.compatibility <= 0x2FA1D);
    EXPECT_TRUE(in_block) << std::hex << static_cast<std::uint32_t>(pair.compatibility);
  }
  struct Case {
    char32_t scalar;
    char32_t unified;  // 0: none
  };
  const Case cases[] = {
      {0xF900, 0x8C48},   {0xFA10, 0x585A},  {0x2F800, 0x4E3D}, {0x2FA1D, 0x2A600},
      {0xFA0E, 0},        // 﨎 is a unified ideograph inside the compatibility block
      {0xFA11, 0},        {0x8C48, 0},       {U'a', 0},         {0xFADA, 0},
  };
  for (const Case& c : cases) {
    const auto unified = unified_ideograph(c.scalar);
    if (c.unified == 0) {
      EXPECT_FALSE(unified) << std::hex << static_cast<std::uint32_t>(c.scalar);
    } else {
      EXPECT_EQ(unified, c.unified) << std::hex << static_cast<std::uint32_t>(c.scalar);
    }
  }
}

TEST(UnicodeTables, SymbolRangesCoverTheCategoriesOfUnicode16) {
  EXPECT_EQ(kSymbolRanges.size(), 352u);
  for (std::size_t i = 1; i < kSymbolRanges.size(); ++i) {
    // Sorted, disjoint and not adjacent: each range is maximal.
    EXPECT_GT(kSymbolRanges[i].first, kSymbolRanges[i - 1].last + 1) << i;
  }
  struct Case {
    char32_t scalar;
    bool symbol;
  };
  const Case cases[] = {
      {U' ', true},     {U'\t', true},    {0x1C, true},     {0x85, true},     {0x3000, true},
      {U'，', true},    {U'。', true},    {U'「', true},    {U'$', true},     {U'+', true},
      {U'^', true},     {0x2028, true},   {0x2029, true},   {0x1F600, true},
      {0x20C0, true},   // SOM SIGN, new in Unicode 14: the table is not older than that
      {0x1CC00, true},  // a symbol for legacy computing added in Unicode 16
      {U'a', false},    {U'0', false},    {0x08, false},    {0x0E, false},    {0x7F, false},
      {U'日', false},   {0xF900, false},  {0x10FFFF, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(is_separator_punctuation_or_symbol(c.scalar), c.symbol)
        << std::hex << static_cast<std::uint32_t>(c.scalar);
  }
}

TEST(CanonicalCandidate, ReplacesOnlyALoneCompatibilityIdeograph) {
  struct Case {
    std::string candidate;
    std::string canonical;
  };
  const Case cases[] = {
      {"\uF900", "\u8C48"}, {"\U0002F800", "\u4E3D"}, {"\u8C48", "\u8C48"},
      {"\uF900\uF900", "\uF900\uF900"},  // only single characters are folded
      {"a\uF900", "a\uF900"},          {"", ""},     {"日月", "日月"},
  };
  for (const Case& c : cases) EXPECT_EQ(canonical_candidate(c.candidate), c.canonical);
}

TEST(CommonCharacterRank, RanksListedCharactersByPosition) {
  std::set<char32_t> distinct;
  std::size_t pos = 0;
  while (const auto scalar = base::next_scalar(kCommonCharacterList, pos)) {
    EXPECT_TRUE(*scalar >= 0x4E00 && *scalar <= 0x9FFF);
    distinct.insert(*scalar);
  }
  EXPECT_EQ(pos, kCommonCharacterList.size());
  EXPECT_EQ(distinct.size(), kCommonCharacterCount);

  struct Case {
    std::string candidate;
    std::uint64_t rank;
  };
  const Case cases[] = {
      {"的", 1},  {"是", 2},  {"她", 50}, {"多", 51}, {"姐", 1500},
      {"\uF901", common_character_rank("\u66F4")},  // a compatibility form ranks as its unified form
      {"豈", kUnrankedCandidate},  {"的是", kUnrankedCandidate},
      {"", kUnrankedCandidate},    {"a", kUnrankedCandidate},
  };
  for (const Case& c : cases) EXPECT_EQ(common_character_rank(c.candidate), c.rank) << c.candidate;
  EXPECT_NE(common_character_rank("\u66F4"), kUnrankedCandidate);
}

}  // namespace
}  // namespace ferrolune::table
