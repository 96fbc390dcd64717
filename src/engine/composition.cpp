// The helpers every method shares: emptiness, clearing the list, dropping
// and committing the composition.
#include "engine/input_session.h"

#include "engine/full_width.h"

namespace ferrolune::engine {

bool InputSession::is_composition_empty() const {
  if (state_.method == InputMethod::Smart) {
    return state_.smart.readings.empty() && state_.smart.pending.syllable.value == 0 &&
           state_.smart.pending.raw_text.empty();
  }
  return state_.traditional.syllable.value == 0 && state_.traditional.raw_text.empty() &&
         state_.table_code.empty() && state_.candidates.empty() && !state_.list_preview;
}

void InputSession::clear_candidate_list() {
  state_.candidates.clear();
  state_.exact_set.clear();
  state_.smart.smart_entries.clear();
  state_.list_preview.reset();
  state_.page = 0;
  state_.highlight = 0;
}

void InputSession::drop_composition() {
  SmartComposition& smart = state_.smart;
  smart.readings.clear();
  smart.cursor = 0;
  smart.pending.clear();
  smart.mark_anchor.reset();
  smart.pending_phrase.reset();
  smart.smart_entries.clear();
  clear_candidate_list();
  state_.traditional.clear();
  state_.table_code.clear();
  state_.display_text.clear();
}

void InputSession::commit_text(std::string_view text) {
  effects_.commit += state_.full_width ? to_full_width(text) : std::string(text);
  drop_composition();
}

void InputSession::flush_composition() {
  if (state_.method == InputMethod::Smart) {
    effects_.commit += visible_text();
    drop_composition();
    return;
  }
  const std::string text = state_.display_text;
  commit_text(text);
}

}  // namespace ferrolune::engine
