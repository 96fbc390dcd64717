// The five Bopomofo keyboard layouts. Ordinals are fixed.
#pragma once

#include <cstdint>

namespace ferrolune::bopomofo {

enum class BopomofoLayout : std::uint8_t {
  Standard = 0,
  Hsu = 1,
  Eten = 2,
  Eten26 = 3,
  HanyuPinyin = 4,
};

// "standard", "hsu", "eten", "eten26" or "hanyu_pinyin".
constexpr const char* layout_name(BopomofoLayout layout) noexcept {
  constexpr const char* names[] = {"standard", "hsu", "eten", "eten26", "hanyu_pinyin"};
  return names[static_cast<int>(layout)];
}

}  // namespace ferrolune::bopomofo
