// The two Unicode tables the table lookup needs, generated from Unicode's
// own data by tools/unicode/generate_tables.py (unicode_tables_data.cpp):
// the CJK compatibility ideographs that canonical normalisation replaces by
// a unified ideograph, and the characters never offered as a completion
// (separators, punctuation, symbols and a few controls, Unicode 16.0).
// Both tables are sorted and searched by binary search.
#pragma once

#include <array>
#include <cstddef>
#include <optional>

namespace ferrolune::table {

struct CompatibilityPair {
  char32_t compatibility;
  char32_t unified;
};

// An inclusive range of code points.
struct CodePointRange {
  char32_t first;
  char32_t last;
};

// The sizes are part of the contract: regenerated data that differs fails
// to compile instead of silently changing the lookup.
inline constexpr std::size_t kCompatibilityPairCount = 1002;
inline constexpr std::size_t kSymbolRangeCount = 352;

extern const std::array<CompatibilityPair, kCompatibilityPairCount> kCompatibilityDecompositions;
extern const std::array<CodePointRange, kSymbolRangeCount> kSymbolRanges;

// The unified ideograph that `scalar` decomposes to, when it is one of the
// compatibility ideographs; nullopt for every other scalar.
std::optional<char32_t> unified_ideograph(char32_t scalar) noexcept;

// True for the general categories Zs Zl Zp Pc Pd Ps Pe Pi Pf Po Sm Sc Sk So
// and the controls U+0009..U+000D, U+001C..U+001F, U+0085.
bool is_separator_punctuation_or_symbol(char32_t scalar) noexcept;

}  // namespace ferrolune::table
