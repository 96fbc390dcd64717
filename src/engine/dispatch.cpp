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
            state_.write_requested = true;
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

}  // namespace ferrolune::engine
