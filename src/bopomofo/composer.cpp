#include "bopomofo/composer.h"

#include "bopomofo/compose.h"
#include "bopomofo/layouts.h"
#include "bopomofo/pinyin.h"

namespace ferrolune::bopomofo {

namespace {

bool is_letter(char c) noexcept { return c >= 'a' && c <= 'z'; }
bool is_tone_digit(char c) noexcept { return c >= '2' && c <= '5'; }

bool feed_pinyin(BopomofoComposer& composer, char key) {
  if (composer.raw_text.empty()) {
    if (!is_letter(key)) return false;
  } else if (is_letter(key)) {
    if (is_tone_digit(composer.raw_text.back())) return false;
  } else if (!is_tone_digit(key)) {
    return false;
  }
  composer.raw_text += key;
  composer.syllable = parse_pinyin(composer.raw_text);
  return true;
}

}  // namespace

bool composer_feed(BopomofoComposer& composer, char32_t character) {
  const std::optional<char> key = fold_key(character);
  if (!key) return false;
  if (composer.layout == BopomofoLayout::HanyuPinyin) return feed_pinyin(composer, *key);
  if (layout_components(composer.layout, character).empty()) return false;
  composer.syllable = compose_keys(composer.layout, render_layout_keys(composer.layout, composer.syllable) + *key);
  return true;
}

bool composer_backspace(BopomofoComposer& composer) {
  if (composer.layout == BopomofoLayout::HanyuPinyin) {
    if (composer.raw_text.empty()) return false;
    composer.raw_text.pop_back();
    composer.syllable = parse_pinyin(composer.raw_text);
    return true;
  }
  std::string keys = render_layout_keys(composer.layout, composer.syllable);
  if (keys.empty()) return false;
  keys.pop_back();
  composer.syllable = compose_keys(composer.layout, keys);
  return true;
}

std::string composer_text(const BopomofoComposer& composer) {
  if (composer.layout == BopomofoLayout::HanyuPinyin) return composer.raw_text;
  return render_bopomofo(composer.syllable);
}

}  // namespace ferrolune::bopomofo
