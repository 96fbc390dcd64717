// BopomofoComposer: the syllable under construction in a phonetic session.
//
// On the key layouts only the syllable is kept; the keys typed so far are
// re-derived from it (render_layout_keys) whenever a key is added or
// removed, so on hsu and eten26 every change re-resolves the whole key
// text. On hanyu_pinyin the typed text (lower case) is kept and parsed
// again after every change. The composer never fails: a refused character
// leaves it unchanged.
#pragma once

#include <string>

#include "bopomofo/layout_kind.h"
#include "bopomofo/syllable.h"

namespace ferrolune::bopomofo {

struct BopomofoComposer {
  BopomofoLayout layout = BopomofoLayout::Standard;
  BopomofoSyllable syllable{};
  // Only hanyu_pinyin uses it; always empty on the key layouts.
  std::string raw_text{};

  // Empties the syllable and the raw text; the layout stays.
  void clear() noexcept {
    syllable = {};
    raw_text.clear();
  }

  friend bool operator==(const BopomofoComposer&, const BopomofoComposer&) = default;
};

// Offers one typed character. Returns whether it was accepted; an
// accepted key need not change the syllable.
bool composer_feed(BopomofoComposer& composer, char32_t character);

// Removes the last key (or Pinyin character). Returns false when there was
// nothing to remove.
bool composer_backspace(BopomofoComposer& composer);

// What to show: the raw text on hanyu_pinyin, otherwise the syllable's
// Bopomofo (empty for the empty syllable).
std::string composer_text(const BopomofoComposer& composer);

}  // namespace ferrolune::bopomofo
