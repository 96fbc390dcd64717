// The rules that sit around every method: the release flag, English mode,
// the keypad, keys held with Control, Alt or Command, and Caps Lock and
// Shift. What they leave over goes to the open list and the method.
#include "engine/input_session.h"

namespace ferrolune::engine {

namespace {

bool is_table_method(InputMethod method) {
  return method == InputMethod::Cangjie || method == InputMethod::Simplex;
}

std::unexpected<Error> not_available(std::string_view what) {
  return fail(std::string(what) + " is not available in this build");
}

bool is_ascii_letter(std::string_view text) {
  if (text.size() != 1) return false;
  const char c = text.front();
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool is_ascii_upper(std::string_view text) { return text.size() == 1 && text.front() >= 'A' && text.front() <= 'Z'; }

}  // namespace

Result<void> InputSession::on_character(const op::Character& character) {
  const Modifiers& modifiers = character.modifiers;
  if (modifiers.release) {
    effects_.handled = false;
    return {};
  }
  if (character.text == " ") return on_key(op::KeyPress{Key::Space, modifiers});
  const bool held = modifiers.control || modifiers.alt || modifiers.command;
  if (state_.english) {
    if (held) effects_.handled = false;
    else commit_text(character.text);
    return {};
  }
  if (state_.method == InputMethod::Smart) return not_available("Smart Mandarin");
  if (held) {
    // The keypad with a modifier is an application shortcut, and the table
    // methods leave every held key to the application.
    if (modifiers.keypad || is_table_method(state_.method)) {
      effects_.handled = false;
      return {};
    }
    if (modifiers.control) return on_traditional_control(character.text, modifiers);
    if (is_composition_empty()) effects_.handled = false;
    else effects_.beep = true;
    return {};
  }
  if (modifiers.keypad && state_.behaviors.literal_keypad) {
    flush_composition();
    commit_text(character.text);
    return {};
  }

  std::string text = character.text;
  bool caps_lock = modifiers.caps_lock;
  if (state_.behaviors.ignore_caps_lock_in_chinese) {
    caps_lock = false;
    if (!modifiers.shift && is_ascii_upper(text)) text.front() = static_cast<char>(text.front() - 'A' + 'a');
  }
  if (caps_lock || (modifiers.shift && is_ascii_letter(text))) {
    drop_composition();
    commit_text(text);
    return {};
  }

  if (is_table_method(state_.method)) return not_available("table method typing");
  if (!state_.candidates.empty() && state_.profile == BehaviorProfile::Desktop) {
    auto selected = select_by_character(text);
    if (!selected) return std::unexpected(selected.error());
    if (*selected) return {};
  }
  return on_traditional_character(text);
}

Result<void> InputSession::on_key(const op::KeyPress& press) {
  op::KeyPress key = press;
  if (state_.behaviors.ignore_caps_lock_in_chinese && !state_.english) key.modifiers.caps_lock = false;
  if (key.modifiers.release) {
    effects_.handled = false;
    return {};
  }
  if (key.modifiers.control || key.modifiers.alt || key.modifiers.command) {
    if (state_.english || key.modifiers.keypad || is_table_method(state_.method)) effects_.handled = false;
    else on_modified_key();
    return {};
  }
  if (state_.english) {
    on_english_key(key.key);
    return {};
  }
  if (state_.method == InputMethod::Smart && state_.candidates.empty()) return not_available("Smart Mandarin");
  if (!state_.candidates.empty()) return on_list_key(key);
  if (is_table_method(state_.method)) {
    // Until the table methods type, an empty composition still passes its
    // keys on as every method does.
    if (!is_composition_empty() || key.key == Key::Space) return not_available("table method typing");
    on_english_key(key.key);
    return {};
  }
  return on_traditional_key(key.key);
}

// Traditional and Smart: a held key is refused while something is being
// composed and belongs to the application otherwise.
void InputSession::on_modified_key() {
  if (is_composition_empty()) effects_.handled = false;
  else effects_.beep = true;
}

// The named keys of an empty composition: English mode has nothing else.
void InputSession::on_english_key(Key key) {
  const bool touch = state_.profile == BehaviorProfile::Touch;
  if (key == Key::Space) {
    commit_text(" ");
  } else if (key == Key::Return && touch) {
    effects_.send_return = true;
  } else if (key == Key::Backspace && touch) {
    effects_.delete_backward = true;
  } else {
    effects_.handled = false;
  }
}

}  // namespace ferrolune::engine
