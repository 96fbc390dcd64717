// BopomofoSyllable: one Mandarin syllable packed into 16 bits, the value
// every reading of the engine is made of.
//
// Four independent fields, 0 meaning absent:
//   initial bits 0-4  (0x001F)  1-21  ㄅ .. ㄙ
//   medial  bits 5-6  (0x0060)  1-3   ㄧ ㄨ ㄩ
//   final   bits 7-10 (0x0780)  1-13  ㄚ .. ㄦ
//   tone    bits 11-13 (0x3800) 1-4   ˊ ˇ ˋ ˙ (0 is the unmarked first tone)
// Bits 14 and 15 are always 0, the initial never exceeds 21, the final 13
// and the tone 4; every producer keeps to that, so every operation here is
// total. No phonotactic rule is enforced: ㄅ alone or ㄈㄨㄥ are valid.
//
// A component is a syllable with exactly one class present. The masks grow
// with the class order initial < medial < final < tone and each exceeds the
// union of the ones before it, so `occupancy_mask(s) < class mask` holds
// exactly when every class present in s comes before that class.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ferrolune::bopomofo {

inline constexpr std::uint16_t kInitialMask = 0x001F;
inline constexpr std::uint16_t kMedialMask = 0x0060;
inline constexpr std::uint16_t kFinalMask = 0x0780;
inline constexpr std::uint16_t kToneMask = 0x3800;
inline constexpr std::uint16_t kPhoneticMask = kInitialMask | kMedialMask | kFinalMask;

inline constexpr unsigned kInitialCount = 21;
inline constexpr unsigned kMedialCount = 3;
inline constexpr unsigned kFinalCount = 13;
inline constexpr unsigned kToneCount = 4;

// Number of distinct syllables: 22 initials x 4 medials x 14 finals x 5 tones.
inline constexpr unsigned kSyllableCount = 6160;

struct BopomofoSyllable {
  std::uint16_t value = 0;

  // Field values must respect the ranges above.
  static constexpr BopomofoSyllable from_fields(unsigned initial, unsigned medial, unsigned final_,
                                                unsigned tone) noexcept {
    return BopomofoSyllable{static_cast<std::uint16_t>(initial | medial << 5 | final_ << 7 | tone << 11)};
  }

  constexpr unsigned initial() const noexcept { return value & kInitialMask; }
  constexpr unsigned medial() const noexcept { return (value & kMedialMask) >> 5; }
  constexpr unsigned final() const noexcept { return (value & kFinalMask) >> 7; }
  constexpr unsigned tone() const noexcept { return (value & kToneMask) >> 11; }

  constexpr bool empty() const noexcept { return value == 0; }
  // At least one of initial, medial, final.
  constexpr bool phonetic() const noexcept { return (value & kPhoneticMask) != 0; }
  // A syllable typed on a layout is finished once it is toned.
  constexpr bool toned() const noexcept { return (value & kToneMask) != 0; }

  friend constexpr bool operator==(BopomofoSyllable, BopomofoSyllable) = default;
};

// Components, by field value.
constexpr BopomofoSyllable initial_component(unsigned initial) noexcept {
  return BopomofoSyllable::from_fields(initial, 0, 0, 0);
}
constexpr BopomofoSyllable medial_component(unsigned medial) noexcept {
  return BopomofoSyllable::from_fields(0, medial, 0, 0);
}
constexpr BopomofoSyllable final_component(unsigned final_) noexcept {
  return BopomofoSyllable::from_fields(0, 0, final_, 0);
}
constexpr BopomofoSyllable tone_component(unsigned tone) noexcept {
  return BopomofoSyllable::from_fields(0, 0, 0, tone);
}

// The union of the masks of the classes present (0 for the empty syllable).
constexpr std::uint16_t occupancy_mask(BopomofoSyllable syllable) noexcept {
  std::uint16_t mask = 0;
  for (std::uint16_t m : {kInitialMask, kMedialMask, kFinalMask, kToneMask}) {
    if (syllable.value & m) mask = static_cast<std::uint16_t>(mask | m);
  }
  return mask;
}

// Each class present in `component` replaces that class of `syllable`;
// the other classes are kept.
constexpr BopomofoSyllable merge_component(BopomofoSyllable syllable,
                                           BopomofoSyllable component) noexcept {
  const std::uint16_t mask = occupancy_mask(component);
  return BopomofoSyllable{
      static_cast<std::uint16_t>((syllable.value & ~mask) | (component.value & mask))};
}

// Whether a component (one class only) is one of the palatal initials ㄐ ㄑ ㄒ.
constexpr bool is_palatal_initial(BopomofoSyllable component) noexcept {
  return component.value >= 12 && component.value <= 14;
}
// Whether a component is one of the retroflex and sibilant initials
// ㄓ ㄔ ㄕ ㄖ ㄗ ㄘ ㄙ.
constexpr bool is_retroflex_or_sibilant_initial(BopomofoSyllable component) noexcept {
  return component.value >= 15 && component.value <= 21;
}

// The component a Bopomofo letter (U+3105..U+3129) or tone mark
// (ˊ ˇ ˋ ˙) stands for; nothing for any other character, the macron
// included (the first tone has no mark).
constexpr std::optional<BopomofoSyllable> component_of(char32_t symbol) noexcept {
  if (symbol >= U'\u3105' && symbol <= U'\u3119') return initial_component(symbol - U'\u3104');
  if (symbol >= U'\u311A' && symbol <= U'\u3126') return final_component(symbol - U'\u3119');
  if (symbol >= U'\u3127' && symbol <= U'\u3129') return medial_component(symbol - U'\u3126');
  switch (symbol) {
    case U'\u02CA': return tone_component(1);
    case U'\u02C7': return tone_component(2);
    case U'\u02CB': return tone_component(3);
    case U'\u02D9': return tone_component(4);
    default: return std::nullopt;
  }
}

// Decodes the character at `pos` of UTF-8 text and advances past it; a
// malformed sequence yields U+FFFD for one byte. Usable in constant
// expressions, so that tables can be written with Bopomofo symbols.
constexpr char32_t next_symbol(std::string_view text, std::size_t& pos) noexcept {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned lead = byte(pos);
  std::size_t length = lead < 0x80 ? 1 : (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3
                       : (lead & 0xF8) == 0xF0 ? 4 : 0;
  if (length == 0 || pos + length > text.size()) {
    ++pos;
    return length == 1 ? lead : U'\uFFFD';
  }
  char32_t value = length == 1 ? lead : lead & (0x7Fu >> length);
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(pos + i) & 0xC0) != 0x80) {
      ++pos;
      return U'\uFFFD';
    }
    value = value << 6 | (byte(pos + i) & 0x3F);
  }
  pos += length;
  return value;
}

// The syllable written by the Bopomofo symbols of `text` in any order
// (a later symbol replaces an earlier one of its class; other characters
// are ignored): bopomofo_syllable("ㄅㄧㄠˊ"). The inverse of
// render_bopomofo.
constexpr BopomofoSyllable bopomofo_syllable(std::string_view text) noexcept {
  BopomofoSyllable syllable;
  for (std::size_t pos = 0; pos < text.size();) {
    if (const auto component = component_of(next_symbol(text, pos))) {
      syllable = merge_component(syllable, *component);
    }
  }
  return syllable;
}

// The canonical text: the symbols of initial, medial, final, then the tone
// mark (the neutral-tone dot too comes last), each only when present.
// The empty syllable renders as the empty text.
std::string render_bopomofo(BopomofoSyllable syllable);

// initial + 22 x medial + 88 x final + 1232 x tone, 0 ..= 6159.
constexpr unsigned syllable_ordinal(BopomofoSyllable syllable) noexcept {
  return syllable.initial() + 22 * syllable.medial() + 88 * syllable.final() + 1232 * syllable.tone();
}

// The syllable of an ordinal; `ordinal` must be below kSyllableCount.
constexpr BopomofoSyllable syllable_from_ordinal(unsigned ordinal) noexcept {
  return BopomofoSyllable::from_fields(ordinal % 22, ordinal / 22 % 4, ordinal / 88 % 14, ordinal / 1232);
}

}  // namespace ferrolune::bopomofo
