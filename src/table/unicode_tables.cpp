#include "table/unicode_tables.h"

#include <algorithm>

namespace ferrolune::table {

std::optional<char32_t> unified_ideograph(char32_t scalar) noexcept {
  const auto found = std::lower_bound(
      kCompatibilityDecompositions.begin(), kCompatibilityDecompositions.end(), scalar,
      [](const CompatibilityPair& pair, char32_t value) { return pair.compatibility < value; });
  if (found == kCompatibilityDecompositions.end() || found->compatibility != scalar) {
    return std::nullopt;
  }
  return found->unified;
}

bool is_separator_punctuation_or_symbol(char32_t scalar) noexcept {
  // The first range whose end is not below the scalar is the only one that
  // can hold it.
  const auto found = std::lower_bound(
      kSymbolRanges.begin(), kSymbolRanges.end(), scalar,
      [](const CodePointRange& range, char32_t value) { return range.last < value; });
  return found != kSymbolRanges.end() && found->first <= scalar;
}

}  // namespace ferrolune::table
