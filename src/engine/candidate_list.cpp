// The candidate list: selection keys, paging, the highlight, choosing a
// candidate and opening a list from the phonetic table.
#include <algorithm>

#include "engine/input_session.h"
#include "table/dictionary_queries.h"

namespace ferrolune::engine {

namespace {

using bopomofo::BopomofoLayout;

std::string layout_default_keys(BopomofoLayout layout, bool smart) {
  if (layout == BopomofoLayout::Hsu) return "asdfzxcv";
  if (layout == BopomofoLayout::Eten26) return "asdfjkl;";
  return smart ? "12345678" : "123456789";
}

bool valid_dictionary_keys(std::string_view keys) {
  if (keys.size() > 32) return false;
  return std::all_of(keys.begin(), keys.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x20 && byte < 0x7F;
  });
}

}  // namespace

TableOptions InputSession::effective_table_options() const {
  const bool simplex = state_.method == InputMethod::Simplex;
  const std::optional<TableOptions>& stored = simplex ? state_.simplex_options : state_.cangjie_options;
  if (stored) {
    TableOptions options = *stored;
    if (options.realtime) options.clear_on_error = false;
    if (simplex) options.prefix = false;
    return options;
  }
  TableOptions options;
  if (simplex) {
    options.clear_on_error = false;
    options.query_at_maximum = true;
    options.learn_selection = false;
  } else if (state_.profile == BehaviorProfile::Touch) {
    options.realtime = true;
    options.prefix = true;
    options.clear_on_error = false;
  }
  return options;
}

Result<std::string> InputSession::selection_keys() const {
  switch (state_.method) {
    case InputMethod::Traditional:
      return state_.traditional_selection_keys.value_or(layout_default_keys(state_.layout, false));
    case InputMethod::Smart:
      return state_.smart_options.candidate_selection_keys.value_or(layout_default_keys(state_.layout, true));
    case InputMethod::Cangjie:
    case InputMethod::Simplex: break;
  }
  const bool simplex = state_.method == InputMethod::Simplex;
  std::string keys;
  if (state_.table_selection_keys) {
    keys = *state_.table_selection_keys;
  } else {
    auto values = table::query_values(resources_.model,
                                      simplex ? table::DictionaryTable::Simplex : table::DictionaryTable::Cangjie,
                                      "__property_selkey");
    if (!values) return std::unexpected(Error(values.error()));
    keys = values->empty() || values->front().empty() ? "123456789" : values->front();
  }
  if (!valid_dictionary_keys(keys)) return fail("invalid dictionary selection keys");
  const std::optional<TableOptions>& stored = simplex ? state_.simplex_options : state_.cangjie_options;
  if (stored && stored->space_as_first_selection_key && (keys.empty() || keys.front() != ' ')) {
    keys.insert(keys.begin(), ' ');
  }
  return keys;
}

Result<void> InputSession::reset_page_size() {
  auto keys = selection_keys();
  if (!keys) return std::unexpected(keys.error());
  // A dictionary may give no keys at all; a page still holds one candidate.
  state_.page_size = std::max<std::size_t>(keys->size(), 1);
  return {};
}

void InputSession::move_page(std::int64_t delta) {
  const std::size_t count = page_count();
  if (count == 0) return;
  const auto pages = static_cast<std::int64_t>(count);
  std::int64_t page = (static_cast<std::int64_t>(state_.page) + delta) % pages;
  if (page < 0) page += pages;
  state_.page = static_cast<std::size_t>(page);
  state_.highlight = 0;
  if (count == 1 && delta != 0) effects_.beep = true;
}

void InputSession::move_highlight(std::int64_t delta) {
  if (state_.candidates.empty()) return;
  const auto size = static_cast<std::int64_t>(state_.candidates.size());
  std::int64_t target = static_cast<std::int64_t>(state_.page * state_.page_size + state_.highlight) + delta;
  if (page_count() > 1) {
    target %= size;
    if (target < 0) target += size;
  } else if (target < 0 || target >= size) {
    target = std::clamp<std::int64_t>(target, 0, size - 1);
    effects_.beep = true;
  }
  jump_to(static_cast<std::size_t>(target));
}

void InputSession::jump_to(std::size_t absolute) {
  state_.page = absolute / state_.page_size;
  state_.highlight = absolute % state_.page_size;
}

Result<void> InputSession::select_candidate(std::size_t absolute) {
  if (state_.method == InputMethod::Smart) return fail("Smart Mandarin is not available in this build");
  if (absolute >= state_.candidates.size()) return fail("candidate index is outside the list");
  const std::string chosen = state_.candidates[absolute];
  if (state_.method == InputMethod::Cangjie || state_.method == InputMethod::Simplex) {
    const std::optional<TableOptions>& stored =
        state_.method == InputMethod::Simplex ? state_.simplex_options : state_.cangjie_options;
    const bool learn = stored ? stored->learn_selection : state_.method == InputMethod::Cangjie;
    const bool exact = std::find(state_.exact_set.begin(), state_.exact_set.end(), chosen) != state_.exact_set.end();
    if (state_.learning_options.table_learning && learn && absolute != 0 && exact) {
      state_.pending_changes.push_back(
          userdata::change::TableCountIncrement{method_name(state_.method), state_.table_code, chosen});
    }
  }
  commit_text(chosen);
  return {};
}

Result<void> InputSession::open_phonetic_list(std::string_view key, bool symbol_list) {
  auto values = table::query_values(resources_.model, table::DictionaryTable::Bopomofo, key);
  if (!values) return std::unexpected(Error(values.error()));
  return show_phonetic_values(std::move(*values), symbol_list);
}

Result<void> InputSession::show_phonetic_values(std::vector<std::string> values, bool symbol_list) {
  std::vector<std::string> kept;
  for (std::string& value : values) {
    if (value.empty() || filter_->accepts(value)) kept.push_back(std::move(value));
  }
  clear_candidate_list();
  if (kept.empty()) {
    effects_.beep = true;
    return {};
  }
  if (kept.size() == 1) {
    commit_text(kept.front());
    return {};
  }
  state_.list_preview = kept.front();
  state_.candidates = std::move(kept);
  if (auto sized = reset_page_size(); !sized) return sized;
  if (symbol_list) state_.traditional.clear();
  return {};
}

}  // namespace ferrolune::engine
