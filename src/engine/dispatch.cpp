// Routing of each operation to its behaviour.
#include <type_traits>

#include "engine/input_session.h"
#include "userdata/archive_import.h"

namespace ferrolune::engine {

namespace {

template <class... Ts>
struct Overloaded : Ts... {
  using Ts::operator()...;
};
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

bool is_table_method(InputMethod method) {
  return method == InputMethod::Cangjie || method == InputMethod::Simplex;
}

std::unexpected<Error> not_available(std::string_view what) {
  return fail(std::string(what) + " is not available in this build");
}

}  // namespace

Result<void> InputSession::dispatch(const InputOperation& operation) {
  return std::visit(
      Overloaded{
          [&](const op::Character& character) { return on_character(character); },
          [&](const op::DirectText& direct) -> Result<void> {
            if (state_.method == InputMethod::Smart) return not_available("Smart Mandarin");
            drop_composition();
            effects_.commit += direct.text;
            return {};
          },
          [&](const op::KeyPress& key) { return on_key(key); },
          [&](const op::Select& select) -> Result<void> {
            if (select.index >= state_.page_size) return fail("candidate index is not page-local");
            return select_candidate(state_.page * state_.page_size + select.index);
          },
          [&](const op::Page& page) -> Result<void> {
            move_page(page.delta);
            return {};
          },
          [&](const op::MoveHighlight& move) -> Result<void> {
            move_highlight(move.delta);
            return {};
          },
          [&](const op::SetMethod& set) -> Result<void> {
            if (set.method == state_.method) return {};
            flush_composition();
            state_.method = set.method;
            return reset_page_size();
          },
          [&](const op::SetLayout& set) -> Result<void> {
            if (set.layout == state_.layout) return {};
            flush_composition();
            state_.layout = set.layout;
            state_.traditional.clear();
            state_.traditional.layout = set.layout;
            state_.smart.pending.clear();
            state_.smart.pending.layout = set.layout;
            state_.smart.mark_anchor.reset();
            state_.smart.smart_entries.clear();
            return reset_page_size();
          },
          [&](const op::SetProfile& set) -> Result<void> {
            state_.profile = set.profile;
            return {};
          },
          [&](const op::SetTableOptions& set) -> Result<void> {
            if (set.method == state_.method) flush_composition();
            TableOptions options = set.options;
            if (options.realtime) options.clear_on_error = false;
            if (set.method == InputMethod::Simplex) options.prefix = false;
            (set.method == InputMethod::Simplex ? state_.simplex_options : state_.cangjie_options) = options;
            return {};
          },
          [&](const op::SetBehaviors& set) -> Result<void> {
            state_.behaviors = set.behaviors;
            return {};
          },
          [&](const op::SetSmartOptions& set) -> Result<void> {
            state_.smart.smart_entries.clear();
            state_.smart_options = set.options;
            if (state_.method == InputMethod::Smart) clear_candidate_list();
            return {};
          },
          [&](const op::OpenCandidates& open) -> Result<void> {
            if (state_.method != InputMethod::Smart) return fail("open_candidates requires Smart Mandarin");
            if (open.index >= state_.smart.readings.size()) {
              return fail("candidate target is outside completed readings");
            }
            return not_available("Smart Mandarin");
          },
          [&](const op::CloseCandidates&) -> Result<void> {
            if (state_.method != InputMethod::Smart) return fail("close_candidates requires Smart Mandarin");
            clear_candidate_list();
            return {};
          },
          [&](const op::SetLearningOptions& set) -> Result<void> {
            state_.learning_options = set.options;
            clear_candidate_list();
            return {};
          },
          [&](const op::AddUserPhrase& add) { return add_user_phrase(add); },
          [&](const op::UpdateUserPhrase& update) { return update_user_phrase(update); },
          [&](const op::RemoveUserPhrase& remove) -> Result<void> {
            const auto usable = [](const std::string& text) {
              return !text.empty() && text.find('\0') == std::string::npos;
            };
            if (!usable(remove.qstring) || !usable(remove.text)) {
              return fail("phrase query and text must be nonempty without NUL");
            }
            state_.pending_changes.emplace_back(userdata::change::PhraseDelete{remove.qstring, remove.text});
            clear_candidate_list();
            return {};
          },
          [&](const op::ReplaceUserPhrases& replace) { return replace_user_phrases(replace); },
          [&](const op::ResetLearning&) -> Result<void> {
            state_.pending_changes.emplace_back(userdata::change::ResetAllLearning{});
            clear_candidate_list();
            return {};
          },
          [&](const op::ResetMethodLearning& reset) { return reset_method_learning(reset.method); },
          [&](const op::SaveLearning&) -> Result<void> { return {}; },
          [&](const op::ImportLegacyUserData& import) -> Result<void> {
            if (import.method && !is_table_method(*import.method)) {
              return fail("legacy table import requires Cangjie or Simplex");
            }
            return not_available("legacy user data import");
          },
          [&](const op::ImportUserData& import) -> Result<void> {
            auto changes = userdata::archive_to_changes(import.archive);
            if (!changes) return std::unexpected(Error(changes.error()));
            for (auto& change : *changes) state_.pending_changes.push_back(std::move(change));
            clear_candidate_list();
            return {};
          },
          [&](const op::SetCursor& set) -> Result<void> {
            const SmartComposition& smart = state_.smart;
            if (state_.method != InputMethod::Smart || set.index > smart.readings.size() ||
                smart.pending.syllable.value != 0 || !smart.pending.raw_text.empty()) {
              return fail("cursor is outside the completed reading range");
            }
            state_.smart.cursor = static_cast<std::size_t>(set.index);
            state_.smart.mark_anchor.reset();
            state_.smart.smart_entries.clear();
            clear_candidate_list();
            return {};
          },
          [&](const op::SetEnglish& set) -> Result<void> {
            if (set.enabled == state_.english) return {};
            flush_composition();
            state_.english = set.enabled;
            return {};
          },
          [&](const op::SetFullWidth& set) -> Result<void> {
            state_.full_width = set.enabled;
            return {};
          },
          [&](const op::ToggleFullWidth&) -> Result<void> {
            state_.full_width = !state_.full_width;
            return {};
          },
          [&](const op::ToggleEnglish&) -> Result<void> {
            flush_composition();
            state_.english = !state_.english;
            return {};
          },
          [&](const op::FinishComposition& finish) { return on_finish_composition(finish); },
          [&](const op::Finish&) -> Result<void> {
            flush_composition();
            return {};
          },
          [&](const op::Reset&) -> Result<void> {
            drop_composition();
            return {};
          },
      },
      operation);
}

Result<void> InputSession::on_finish_composition(const op::FinishComposition& finish) {
  if (state_.method == InputMethod::Smart) {
    if (finish.complete_reading && (state_.smart.pending.syllable.value != 0 || !state_.smart.pending.raw_text.empty())) {
      return not_available("Smart Mandarin");
    }
    flush_composition();
    return {};
  }
  if (is_table_method(state_.method) && finish.discard_table_code) {
    drop_composition();
    return {};
  }
  if (finish.select_highlighted_candidate && !state_.candidates.empty()) {
    const std::size_t index = state_.page * state_.page_size + state_.highlight;
    if (index >= state_.candidates.size()) return fail("candidate index is outside the list");
    const std::string chosen = state_.candidates[index];
    commit_text(chosen);
    return {};
  }
  flush_composition();
  return {};
}

Result<void> InputSession::on_character(const op::Character& character) {
  const Modifiers& modifiers = character.modifiers;
  if (modifiers.release) {
    effects_.handled = false;
    return {};
  }
  if (character.text == " ") return on_key(op::KeyPress{Key::Space, modifiers});
  if (state_.english) {
    if (modifiers.control || modifiers.alt || modifiers.command) {
      effects_.handled = false;
      return {};
    }
    commit_text(character.text);
    return {};
  }
  if (state_.method == InputMethod::Smart) return not_available("Smart Mandarin");
  return not_available(is_table_method(state_.method) ? "table method typing" : "Traditional Bopomofo typing");
}

Result<void> InputSession::on_key(const op::KeyPress& press) {
  op::KeyPress key = press;
  if (state_.behaviors.ignore_caps_lock_in_chinese && !state_.english) key.modifiers.caps_lock = false;
  if (key.modifiers.release) {
    effects_.handled = false;
    return {};
  }
  const bool empty = is_composition_empty();
  const bool touch = state_.profile == BehaviorProfile::Touch;
  if (key.modifiers.control || key.modifiers.alt || key.modifiers.command || state_.english) {
    if (state_.english && !key.modifiers.control && !key.modifiers.alt && !key.modifiers.command) {
      // English mode: the keys of an empty composition.
      if (key.key == Key::Space) {
        commit_text(" ");
      } else if (key.key == Key::Return && touch) {
        effects_.send_return = true;
      } else if (key.key == Key::Backspace && touch) {
        effects_.delete_backward = true;
      } else {
        effects_.handled = false;
      }
      return {};
    }
    if (state_.english || is_table_method(state_.method) || key.modifiers.keypad || empty) {
      effects_.handled = false;
    } else {
      effects_.beep = true;
    }
    return {};
  }
  if (state_.method == InputMethod::Smart && state_.candidates.empty()) return not_available("Smart Mandarin");
  if (!state_.candidates.empty()) return on_list_key(key);
  if (empty) {
    if (key.key == Key::Return && touch) {
      effects_.send_return = true;
    } else if (key.key == Key::Backspace && touch) {
      effects_.delete_backward = true;
    } else if (key.key == Key::Space) {
      return not_available(is_table_method(state_.method) ? "table method typing" : "Traditional Bopomofo typing");
    } else {
      effects_.handled = false;
    }
    return {};
  }
  return not_available(is_table_method(state_.method) ? "table method typing" : "Traditional Bopomofo typing");
}

Result<void> InputSession::on_list_key(const op::KeyPress& press) {
  const bool smart = state_.method == InputMethod::Smart;
  const bool shift = press.modifiers.shift;
  switch (press.key) {
    case Key::Left:
    case Key::PageUp:
    case Key::Right:
    case Key::PageDown:
    case Key::Up:
    case Key::Down:
    case Key::Home:
    case Key::End:
      if (shift) {
        effects_.beep = true;
        return {};
      }
      if (press.key == Key::Left || press.key == Key::PageUp) move_page(-1);
      else if (press.key == Key::Right || press.key == Key::PageDown) move_page(1);
      else if (press.key == Key::Up) move_highlight(-1);
      else if (press.key == Key::Down) move_highlight(1);
      else if (press.key == Key::Home) jump_to(0);
      else jump_to(state_.candidates.size() - 1);
      return {};
    case Key::Return:
      if (smart && shift) {
        effects_.beep = true;
        return {};
      }
      return select_candidate(state_.page * state_.page_size + state_.highlight);
    case Key::Space:
      if (is_table_method(state_.method)) {
        const TableOptions options = effective_table_options();
        if (options.space_as_first_selection_key) return select_candidate(state_.page * state_.page_size);
        const bool commit_single = options.space_commits_first_on_single_page.value_or(
            state_.method == InputMethod::Cangjie);
        if (commit_single && page_count() == 1) return select_candidate(0);
      }
      move_page(1);
      return {};
    case Key::Escape:
      if (smart) {
        if (shift) effects_.beep = true;
        else clear_candidate_list();
        return {};
      }
      drop_composition();
      return {};
    case Key::Backspace:
      if (smart) {
        effects_.beep = true;
        return {};
      }
      return not_available(is_table_method(state_.method) ? "table method typing" : "Traditional Bopomofo typing");
    case Key::Delete:
    case Key::Tab: effects_.beep = true; return {};
  }
  return {};
}

}  // namespace ferrolune::engine
