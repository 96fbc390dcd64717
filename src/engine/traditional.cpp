// Traditional Bopomofo: one syllable at a time through the composer of the
// session's layout. A toned syllable (or Space/Enter on an untoned one)
// looks its reading key up in the phonetic table; a single character is
// committed at once, several open the list. Characters that are not keys
// of the layout are punctuation: the layout's own key, then the general
// one, and when the model has neither the character itself is committed.
#include "base/utf8.h"
#include "bopomofo/layouts.h"
#include "bopomofo/reading_codec.h"
#include "engine/input_session.h"
#include "engine/model_keys.h"
#include "table/dictionary_queries.h"

namespace ferrolune::engine {

bool InputSession::is_traditional_composer_empty() const {
  return state_.traditional.syllable.empty() && state_.traditional.raw_text.empty();
}

Result<void> InputSession::on_traditional_character(std::string_view text) {
  std::size_t at = 0;
  const char32_t c = base::next_scalar(text, at).value_or(U'\uFFFD');
  // An upper-case letter that Caps Lock and Shift did not claim is never a
  // Bopomofo key, although the layouts fold letters.
  if (c >= U'A' && c <= U'Z') return type_traditional_punctuation(text);

  if (!state_.candidates.empty()) {
    // The key must start a syllable of its own: the one in the composer is
    // complete and goes with the highlighted candidate.
    bopomofo::BopomofoComposer probe;
    probe.layout = state_.traditional.layout;
    if (!bopomofo::composer_feed(probe, c)) return type_traditional_punctuation(text);
    if (auto selected = select_candidate(state_.page * state_.page_size + state_.highlight); !selected) {
      return selected;
    }
  } else if (!bopomofo::is_layout_key(state_.traditional.layout, c)) {
    return type_traditional_punctuation(text);
  }

  clear_candidate_list();
  if (!bopomofo::composer_feed(state_.traditional, c)) {
    // Only Hanyu Pinyin refuses keys of its layout (a letter after a tone
    // digit, a digit first).
    effects_.beep = true;
    return {};
  }
  if (!state_.traditional.syllable.toned()) return {};
  return open_phonetic_list(bopomofo::syllable_qstring(state_.traditional.syllable), false);
}

Result<void> InputSession::type_traditional_punctuation(std::string_view text) {
  const bool list_open = !state_.candidates.empty();
  if (!list_open && !is_traditional_composer_empty()) {
    effects_.beep = true;
    return {};
  }
  for (const std::string& key : {layout_punctuation_key(state_.layout, text), general_punctuation_key(text)}) {
    auto values = table::query_values(resources_.model, table::DictionaryTable::Bopomofo, key);
    if (!values) return std::unexpected(Error(values.error()));
    if (values->empty()) continue;
    if (list_open) {
      if (auto selected = select_candidate(state_.page * state_.page_size + state_.highlight); !selected) {
        return selected;
      }
    }
    return show_phonetic_values(std::move(*values), true);
  }
  if (list_open) {
    effects_.beep = true;
    return {};
  }
  // Nothing is composed, so the character goes out as it is (the end of the
  // operation converts it when full width is on).
  effects_.commit += text;
  return {};
}

Result<void> InputSession::on_traditional_key(Key key) {
  if (is_composition_empty()) {
    on_english_key(key);
    return {};
  }
  switch (key) {
    case Key::Space:
    case Key::Return:
      // Without a tone key the syllable is looked up as the first tone.
      return open_phonetic_list(bopomofo::syllable_qstring(state_.traditional.syllable), false);
    case Key::Backspace: traditional_backspace(); return {};
    case Key::Escape: drop_composition(); return {};
    default: effects_.beep = true; return {};
  }
}

// With a list open the list goes first, so backspace after a tone takes
// the tone back and the user is composing the syllable again.
void InputSession::traditional_backspace() {
  clear_candidate_list();
  bopomofo::composer_backspace(state_.traditional);
  if (is_traditional_composer_empty()) effects_.discard_composition = true;
}

Result<void> InputSession::on_traditional_control(std::string_view text, const Modifiers& modifiers) {
  if (!is_composition_empty()) {
    effects_.beep = true;
    return {};
  }
  if (modifiers.command) {
    effects_.handled = false;
    return {};
  }
  auto values = table::query_values(resources_.model, table::DictionaryTable::Bopomofo,
                                    control_list_key(text, modifiers.alt));
  if (!values) return std::unexpected(Error(values.error()));
  if (values->empty()) {
    effects_.handled = false;
    return {};
  }
  return show_phonetic_values(std::move(*values), true);
}

}  // namespace ferrolune::engine
