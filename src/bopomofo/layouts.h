// The key tables of the four Bopomofo key layouts (standard, hsu, eten,
// eten26) and the lookups built on them.
//
// A key is one ASCII character; A to Z are folded to a to z before any
// lookup, and nothing above U+007F is ever a key. Each key maps to an
// ordered list of candidate components: exactly one on standard and eten,
// one to three on hsu and eten26, where the order drives compose_keys.
// Each of the 41 components sits on exactly one key of every key layout.
// hanyu_pinyin has no key table: every lookup on it is empty.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "bopomofo/layout_kind.h"
#include "bopomofo/syllable.h"

namespace ferrolune::bopomofo {

// The key a character stands for: ASCII only, letters folded to lower case.
std::optional<char> fold_key(char32_t character) noexcept;

// The ordered candidates of a key (letters are folded first); empty when
// the key is not in the layout's table.
std::span<const BopomofoSyllable> layout_components(BopomofoLayout layout, char32_t key) noexcept;

// The key that produces a component; nothing for a zero component, for a
// value that is not a single component, and on hanyu_pinyin.
std::optional<char> layout_key_for(BopomofoLayout layout, BopomofoSyllable component) noexcept;

// The keys of the initial, medial, final and tone, each only when present:
// ㄅㄧㄠˊ on standard is "1ul6". Empty on hanyu_pinyin.
std::string render_layout_keys(BopomofoLayout layout, BopomofoSyllable syllable);

// Whether a character goes to the composer: on a key layout, when its
// folded key has a candidate; on hanyu_pinyin, for an ASCII letter of
// either case and the tone digits 2 to 5.
bool is_layout_key(BopomofoLayout layout, char32_t character) noexcept;

}  // namespace ferrolune::bopomofo
