#include "engine/input_session.h"

#include <utility>

#include "base/utf8.h"
#include "bopomofo/reading_codec.h"
#include "engine/full_width.h"
#include "engine/operation_checks.h"
#include "userdata/learning_store.h"
#include "userdata/user_schema.h"

namespace ferrolune::engine {

namespace {

// What the user is looking at when choosing; if another writer's change
// alters it, a pending choice must not be applied to the new list.
struct ViewSignature {
  std::vector<std::string> candidates;
  std::vector<SmartEntry> smart_entries;
  std::size_t page = 0;
  std::size_t highlight = 0;
  std::size_t page_size = 0;
  std::optional<std::size_t> mark_anchor;
  friend bool operator==(const ViewSignature&, const ViewSignature&) = default;
};

ViewSignature view_signature(const SessionState& state) {
  return {state.candidates, state.smart.smart_entries, state.page, state.highlight, state.page_size,
          state.smart.mark_anchor};
}

bool is_choice(const InputOperation& operation) {
  return std::holds_alternative<op::Character>(operation) ||
         std::holds_alternative<op::KeyPress>(operation) ||
         std::holds_alternative<op::Select>(operation) ||
         std::holds_alternative<op::Page>(operation) ||
         std::holds_alternative<op::MoveHighlight>(operation);
}

}  // namespace

InputSession::InputSession(SessionResources resources, std::string model_path,
                           std::shared_ptr<const table::CandidateFilter> filter)
    : resources_(std::move(resources)), model_path_(std::move(model_path)), filter_(std::move(filter)) {
  const SessionConfig& config = resources_.config;
  state_.method = config.method;
  state_.layout = config.layout;
  state_.profile = config.profile;
  state_.behaviors = config.behaviors;
  state_.smart_options = config.smart;
  state_.learning_options = config.learning;
  state_.cangjie_options = config.cangjie;
  state_.simplex_options = config.simplex;
  state_.traditional_selection_keys = config.traditional_selection_keys;
  state_.table_selection_keys = config.table_selection_keys;
  state_.smart.pending.layout = config.layout;
  state_.traditional.layout = config.layout;
  state_.learning = resources_.learning;
  if (!filter_) filter_ = table::CandidateFilter::accept_all();
}

Result<std::unique_ptr<InputSession>> InputSession::create(
    SessionResources resources, std::string model_path,
    std::shared_ptr<const table::CandidateFilter> filter) {
  std::unique_ptr<InputSession> session(
      new InputSession(std::move(resources), std::move(model_path), std::move(filter)));
  if (auto sized = session->reset_page_size(); !sized) return std::unexpected(sized.error());
  session->refresh_display();
  return session;
}

Result<Effects> InputSession::apply_operation(const InputOperation& operation) {
  if (auto valid = check_input_operation(operation); !valid) return std::unexpected(valid.error());
  SessionState saved = state_;
  effects_ = Effects{};
  if (auto done = run(operation); !done) {
    state_ = std::move(saved);
    return std::unexpected(done.error());
  }
  return std::move(effects_);
}

Result<void> InputSession::run(const InputOperation& operation) {
  auto fresh = check_learning_freshness(operation);
  if (!fresh) return std::unexpected(fresh.error());
  if (*fresh) {
    if (auto dispatched = dispatch(operation); !dispatched) return dispatched;
    if (auto phrase = apply_pending_phrase(); !phrase) return phrase;
  }
  refresh_display();
  if (auto committed = commit_learning(); !committed) return committed;
  if (state_.full_width) effects_.commit = to_full_width(effects_.commit);
  return {};
}

// Returns whether the operation may go on; false when a list the user was
// choosing from changed under them.
Result<bool> InputSession::check_learning_freshness(const InputOperation& operation) {
  auto metadata = userdata::read_user_metadata(resources_.user.connection());
  if (!metadata) return std::unexpected(Error(metadata.error()));
  const userdata::LearningState& current = *state_.learning;
  if (!state_.reload_pending && metadata->generation == current.generation &&
      metadata->revision == current.revision) {
    return true;
  }
  const ViewSignature before = view_signature(state_);
  const bool list_open = !state_.candidates.empty() || state_.smart.mark_anchor.has_value();
  const std::vector<std::string> old_candidates = state_.candidates;
  const std::size_t page = state_.page;
  const std::size_t highlight = state_.highlight;

  auto refreshed = userdata::refresh_learning(resources_.user.connection());
  if (!refreshed) return std::unexpected(Error(refreshed.error()));
  state_.learning = std::make_shared<const userdata::LearningState>(std::move(*refreshed));
  state_.reload_pending = false;

  refresh_display();
  if (state_.candidates == old_candidates) {
    state_.page = page;
    state_.highlight = highlight;
  }
  if (list_open && !(view_signature(state_) == before) && is_choice(operation)) {
    clear_candidate_list();
    state_.smart.mark_anchor.reset();
    state_.smart.pending_phrase.reset();
    effects_.handled = true;
    effects_.beep = true;
    return false;
  }
  return true;
}

Result<void> InputSession::commit_learning() {
  std::vector<userdata::LearningChange> changes = std::move(state_.pending_changes);
  state_.pending_changes.clear();
  const bool requested = std::exchange(state_.write_requested, false);
  if (changes.empty() && !requested) return {};
  bool all_cache = true;
  for (const auto& change : changes) all_cache = all_cache && userdata::is_cache_change(change);

  std::shared_ptr<const userdata::LearningState> base = state_.learning;
  for (int attempt = 0; attempt < 2; ++attempt) {
    auto applied = userdata::apply_learning_changes(*base, changes);
    if (!applied) return std::unexpected(Error(applied.error()));
    state_.learning = std::make_shared<const userdata::LearningState>(std::move(*applied));
    refresh_display();

    auto written = userdata::write_learning_changes(resources_.user.connection(), base->generation, changes);
    if (!written) return std::unexpected(Error(written.error()));
    auto stored = std::make_shared<const userdata::LearningState>(std::move(written->state));
    state_.learning = stored;
    state_.reload_pending = true;
    if (written->status == userdata::WriteStatus::Applied) return {};
    if (all_cache) return {};
    base = stored;
  }
  return fail(model::ModelErrorKind::QueryFailed,
              "user data changed during dictionary edit; retry the operation");
}

Result<std::shared_ptr<const userdata::LearningState>> InputSession::refreshed_learning() {
  auto refreshed = userdata::refresh_learning(resources_.user.connection());
  if (!refreshed) return std::unexpected(Error(refreshed.error()));
  auto shared = std::make_shared<const userdata::LearningState>(std::move(*refreshed));
  state_.learning = shared;
  state_.reload_pending = false;
  return shared;
}

void InputSession::refresh_display() {
  if (state_.method == InputMethod::Smart) {
    std::vector<std::string> texts;
    texts.reserve(state_.smart.smart_entries.size());
    for (const SmartEntry& entry : state_.smart.smart_entries) texts.push_back(entry.text);
    if (texts != state_.candidates) {
      state_.page = 0;
      state_.highlight = 0;
    }
    state_.candidates = std::move(texts);
    state_.display_text = visible_text();
    if (auto keys = selection_keys(); keys && !keys->empty()) state_.page_size = keys->size();
    return;
  }
  if (state_.list_preview) {
    state_.display_text = *state_.list_preview;
  } else if (state_.method == InputMethod::Cangjie || state_.method == InputMethod::Simplex) {
    state_.display_text = state_.table_code;
  } else {
    state_.display_text = bopomofo::composer_text(state_.traditional);
  }
}

std::string InputSession::composition() const {
  if (state_.method != InputMethod::Smart) return state_.display_text;
  return {};
}

std::string InputSession::visible_text() const {
  if (state_.method != InputMethod::Smart) return state_.display_text;
  return bopomofo::composer_text(state_.smart.pending);
}

std::size_t InputSession::cursor() const { return base::scalar_count(visible_text()); }

std::string InputSession::reading() const {
  if (state_.method == InputMethod::Smart) return bopomofo::composer_text(state_.smart.pending);
  return state_.display_text;
}

std::string InputSession::phonetic() const {
  if (state_.method == InputMethod::Smart) return bopomofo::composer_text(state_.smart.pending);
  return bopomofo::composer_text(state_.traditional);
}

std::string InputSession::code() const {
  if (state_.method == InputMethod::Traditional) {
    if (state_.traditional.syllable.value == 0) return {};
    return bopomofo::syllable_qstring(state_.traditional.syllable);
  }
  return state_.table_code;
}

std::size_t InputSession::page_count() const noexcept {
  if (state_.candidates.empty()) return 0;
  return (state_.candidates.size() + state_.page_size - 1) / state_.page_size;
}

}  // namespace ferrolune::engine
