// The keys of an open candidate list: the named keys that page, move the
// highlight, choose or close, and the typed selection keys.
#include "engine/input_session.h"

namespace ferrolune::engine {

namespace {

bool is_table_method(InputMethod method) {
  return method == InputMethod::Cangjie || method == InputMethod::Simplex;
}

}  // namespace

Result<bool> InputSession::select_by_character(std::string_view text) {
  auto keys = selection_keys();
  if (!keys) return std::unexpected(keys.error());
  // Selection keys are ASCII, so a longer text is never one of them.
  if (text.size() != 1) return false;
  const std::size_t position = keys->find(text.front());
  if (position == std::string::npos) return false;
  const std::size_t absolute = state_.page * state_.page_size + position;
  if (position >= state_.page_size || absolute >= state_.candidates.size()) {
    effects_.beep = true;
    return true;
  }
  if (auto selected = select_candidate(absolute); !selected) return std::unexpected(selected.error());
  return true;
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
      if (is_table_method(state_.method)) return fail("table method typing is not available in this build");
      traditional_backspace();
      return {};
    case Key::Delete:
    case Key::Tab: effects_.beep = true; return {};
  }
  return {};
}

}  // namespace ferrolune::engine
