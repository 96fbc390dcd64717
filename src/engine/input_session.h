// InputSession: one composition context. It applies one InputOperation at
// a time as a transaction: on success it has changed and answers with the
// operation's Effects; on failure it is exactly as it was before and
// answers with the error. Its snapshot values are read through the
// accessors below. A session is used by one thread at a time (the call
// frame holds its lock).
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/effects.h"
#include "engine/input_operation.h"
#include "engine/session_setup.h"
#include "engine/session_state.h"
#include "model/error.h"
#include "model/model_database.h"
#include "table/candidate_filter.h"
#include "table/dictionary_queries.h"
#include "userdata/user_database.h"

namespace ferrolune::engine {

class InputSession {
 public:
  // Builds the session on opened resources and resolves its selection keys
  // ("invalid dictionary selection keys" for bad keys of a table method).
  static Result<std::unique_ptr<InputSession>> create(
      SessionResources resources, std::string model_path,
      std::shared_ptr<const table::CandidateFilter> filter);

  Result<Effects> apply_operation(const InputOperation& operation);

  const SessionState& state() const noexcept { return state_; }

  // Snapshot values.
  std::string composition() const;
  std::string visible_text() const;
  std::size_t cursor() const;
  std::string reading() const;
  std::string phonetic() const;
  std::string code() const;
  std::size_t page_count() const noexcept;
  TableOptions effective_table_options() const;

  // The learned data as stored, re-read first so that it includes other
  // writers' changes.
  Result<std::shared_ptr<const userdata::LearningState>> refreshed_learning();

 private:
  InputSession(SessionResources resources, std::string model_path,
               std::shared_ptr<const table::CandidateFilter> filter);

  Result<void> run(const InputOperation& operation);
  Result<bool> check_learning_freshness(const InputOperation& operation);
  Result<void> dispatch(const InputOperation& operation);
  Result<void> commit_learning();
  Result<void> apply_pending_phrase();

  // Routing of typed characters and named keys through the modes (English,
  // full width, Caps Lock and Shift, the keypad, held modifiers).
  Result<void> on_character(const op::Character& character);
  Result<void> on_key(const op::KeyPress& key);
  void on_modified_key();
  void on_english_key(Key key);
  Result<void> on_list_key(const op::KeyPress& key);
  // Whether the character was one of the selection keys of the open list
  // (then it chose a candidate, or beeped past the list).
  Result<bool> select_by_character(std::string_view text);
  Result<void> on_finish_composition(const op::FinishComposition& finish);

  // Traditional Bopomofo typing.
  Result<void> on_traditional_character(std::string_view text);
  Result<void> on_traditional_key(Key key);
  Result<void> on_traditional_control(std::string_view text, const Modifiers& modifiers);
  Result<void> type_traditional_punctuation(std::string_view text);
  void traditional_backspace();
  bool is_traditional_composer_empty() const;

  // User phrases and learning.
  Result<void> add_user_phrase(const op::AddUserPhrase& add);
  Result<void> update_user_phrase(const op::UpdateUserPhrase& update);
  Result<void> replace_user_phrases(const op::ReplaceUserPhrases& replace);
  Result<void> reset_method_learning(InputMethod method);
  Result<bool> phrase_exists(std::string_view qstring, std::string_view text) const;
  Result<model::Unigram> new_phrase(std::string qstring, std::string text) const;

  // Shared helpers of every method.
  bool is_composition_empty() const;
  void clear_candidate_list();
  void drop_composition();
  void commit_text(std::string_view text);
  void flush_composition();
  void refresh_display();

  // The candidate list.
  Result<std::string> selection_keys() const;
  Result<void> reset_page_size();
  void move_page(std::int64_t delta);
  void move_highlight(std::int64_t delta);
  void jump_to(std::size_t absolute);
  Result<void> select_candidate(std::size_t absolute);
  Result<void> open_phonetic_list(std::string_view key, bool symbol_list);
  // open_phonetic_list on values already read from the phonetic table.
  Result<void> show_phonetic_values(std::vector<std::string> values, bool symbol_list);

  SessionResources resources_;
  std::string model_path_;
  std::shared_ptr<const table::CandidateFilter> filter_;
  SessionState state_;
  Effects effects_;
};

}  // namespace ferrolune::engine
