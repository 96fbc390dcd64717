#include "bopomofo/layouts.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace ferrolune::bopomofo {

namespace {

constexpr std::size_t kKeyLayoutCount = 4;  // every layout before hanyu_pinyin

constexpr bool is_key_layout(BopomofoLayout layout) noexcept {
  return layout != BopomofoLayout::HanyuPinyin;
}

// The key of every component on each key layout.
struct KeyRow {
  std::string_view component;
  std::array<char, kKeyLayoutCount> keys;  // standard, eten, hsu, eten26
};

// clang-format off
constexpr KeyRow kKeyTable[] = {
    //        standard eten  hsu  eten26
    {"ㄅ", {'1', 'b', 'b', 'b'}},
    {"ㄆ", {'q', 'p', 'p', 'p'}},
    {"ㄇ", {'a', 'm', 'm', 'm'}},
    {"ㄈ", {'z', 'f', 'f', 'f'}},
    {"ㄉ", {'2', 'd', 'd', 'd'}},
    {"ㄊ", {'w', 't', 't', 't'}},
    {"ㄋ", {'s', 'n', 'n', 'n'}},
    {"ㄌ", {'x', 'l', 'l', 'l'}},
    {"ㄍ", {'e', 'v', 'g', 'v'}},
    {"ㄎ", {'d', 'k', 'k', 'k'}},
    {"ㄏ", {'c', 'h', 'h', 'h'}},
    {"ㄐ", {'r', 'g', 'j', 'g'}},
    {"ㄑ", {'f', '7', 'v', 'v'}},
    {"ㄒ", {'v', 'c', 'c', 'c'}},
    {"ㄓ", {'5', ',', 'j', 'g'}},
    {"ㄔ", {'t', '.', 'v', 'y'}},
    {"ㄕ", {'g', '/', 'c', 'c'}},
    {"ㄖ", {'b', 'j', 'r', 'j'}},
    {"ㄗ", {'y', ';', 'z', 'q'}},
    {"ㄘ", {'h', '\'', 'a', 'w'}},
    {"ㄙ", {'n', 's', 's', 's'}},
    {"ㄧ", {'u', 'e', 'e', 'e'}},
    {"ㄨ", {'j', 'x', 'x', 'x'}},
    {"ㄩ", {'m', 'u', 'u', 'u'}},
    {"ㄚ", {'8', 'a', 'y', 'a'}},
    {"ㄛ", {'i', 'o', 'h', 'o'}},
    {"ㄜ", {'k', 'r', 'g', 'r'}},
    {"ㄝ", {',', 'w', 'e', 'w'}},
    {"ㄞ", {'9', 'i', 'i', 'i'}},
    {"ㄟ", {'o', 'q', 'a', 'q'}},
    {"ㄠ", {'l', 'z', 'w', 'z'}},
    {"ㄡ", {'.', 'y', 'o', 'p'}},
    {"ㄢ", {'0', '8', 'm', 'm'}},
    {"ㄣ", {'p', '9', 'n', 'n'}},
    {"ㄤ", {';', '0', 'k', 't'}},
    {"ㄥ", {'/', '-', 'l', 'l'}},
    {"ㄦ", {'-', '=', 'l', 'h'}},
    {"ˊ",  {'6', '2', 'd', 'f'}},
    {"ˇ",  {'3', '3', 'f', 'j'}},
    {"ˋ",  {'4', '4', 'j', 'k'}},
    {"˙",  {'7', '1', 's', 'd'}},
};
// clang-format on

// Keys that carry more than one component, with their candidates in order.
struct SharedKey {
  char key;
  std::string_view candidates;
};

constexpr SharedKey kHsuSharedKeys[] = {
    {'m', "ㄇㄢ"}, {'f', "ㄈˇ"}, {'d', "ㄉˊ"}, {'n', "ㄋㄣ"}, {'l', "ㄌㄥㄦ"}, {'g', "ㄍㄜ"}, {'k', "ㄎㄤ"},
    {'h', "ㄏㄛ"}, {'j', "ㄐㄓˋ"}, {'v', "ㄑㄔ"}, {'c', "ㄒㄕ"}, {'a', "ㄘㄟ"}, {'s', "ㄙ˙"}, {'e', "ㄧㄝ"},
};

constexpr SharedKey kEten26SharedKeys[] = {
    {'p', "ㄆㄡ"}, {'m', "ㄇㄢ"}, {'f', "ㄈˊ"}, {'d', "ㄉ˙"}, {'t', "ㄊㄤ"}, {'n', "ㄋㄣ"}, {'l', "ㄌㄥ"},
    {'v', "ㄍㄑ"}, {'k', "ㄎˋ"}, {'h', "ㄏㄦ"}, {'g', "ㄓㄐ"}, {'c', "ㄕㄒ"}, {'j', "ㄖˇ"}, {'q', "ㄗㄟ"},
    {'w', "ㄘㄝ"},
};

struct KeyCandidates {
  std::array<BopomofoSyllable, 3> list{};
  std::size_t count = 0;
};

using KeyMap = std::array<KeyCandidates, 128>;

// The column of a key layout in kKeyTable.
constexpr std::size_t column_of(BopomofoLayout layout) noexcept {
  switch (layout) {
    case BopomofoLayout::Standard: return 0;
    case BopomofoLayout::Eten: return 1;
    case BopomofoLayout::Hsu: return 2;
    default: return 3;
  }
}

constexpr KeyMap build_key_map(BopomofoLayout layout, std::span<const SharedKey> shared) {
  KeyMap map{};
  for (const KeyRow& row : kKeyTable) {
    KeyCandidates& entry = map[static_cast<std::size_t>(row.keys[column_of(layout)])];
    entry.list[0] = bopomofo_syllable(row.component);
    entry.count = 1;
  }
  for (const SharedKey& key : shared) {
    KeyCandidates& entry = map[static_cast<std::size_t>(key.key)];
    entry.count = 0;
    for (std::size_t pos = 0; pos < key.candidates.size();) {
      if (const auto component = component_of(next_symbol(key.candidates, pos))) {
        entry.list[entry.count++] = *component;
      }
    }
  }
  return map;
}

constexpr KeyMap kKeyMaps[kKeyLayoutCount] = {
    build_key_map(BopomofoLayout::Standard, {}),
    build_key_map(BopomofoLayout::Hsu, kHsuSharedKeys),
    build_key_map(BopomofoLayout::Eten, {}),
    build_key_map(BopomofoLayout::Eten26, kEten26SharedKeys),
};

}  // namespace

std::optional<char> fold_key(char32_t character) noexcept {
  if (character > 0x7F) return std::nullopt;
  if (character >= U'A' && character <= U'Z') character += U'a' - U'A';
  return static_cast<char>(character);
}

std::span<const BopomofoSyllable> layout_components(BopomofoLayout layout, char32_t key) noexcept {
  const std::optional<char> folded = fold_key(key);
  if (!folded || !is_key_layout(layout)) return {};
  const KeyCandidates& entry = kKeyMaps[static_cast<std::size_t>(layout)][static_cast<std::size_t>(*folded)];
  return std::span<const BopomofoSyllable>(entry.list.data(), entry.count);
}

std::optional<char> layout_key_for(BopomofoLayout layout, BopomofoSyllable component) noexcept {
  if (!is_key_layout(layout) || component.empty()) return std::nullopt;
  for (const KeyRow& row : kKeyTable) {
    if (bopomofo_syllable(row.component) == component) return row.keys[column_of(layout)];
  }
  return std::nullopt;
}

std::string render_layout_keys(BopomofoLayout layout, BopomofoSyllable syllable) {
  std::string keys;
  for (const std::uint16_t mask : {kInitialMask, kMedialMask, kFinalMask, kToneMask}) {
    const BopomofoSyllable component{static_cast<std::uint16_t>(syllable.value & mask)};
    if (const std::optional<char> key = layout_key_for(layout, component)) keys += *key;
  }
  return keys;
}

bool is_layout_key(BopomofoLayout layout, char32_t character) noexcept {
  if (layout == BopomofoLayout::HanyuPinyin) {
    const std::optional<char> key = fold_key(character);
    return key && ((*key >= 'a' && *key <= 'z') || (*key >= '2' && *key <= '5'));
  }
  return !layout_components(layout, character).empty();
}

}  // namespace ferrolune::bopomofo
