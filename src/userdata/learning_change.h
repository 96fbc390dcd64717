// LearningChange: the only way learned data changes. A session queues
// changes during an operation, applies them to a copy of its state with
// apply_learning_changes, and writes them with write_learning_changes; both
// give a change the same effect, so the state reloaded after a write equals
// the state applied in memory when no other writer came between.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>

#include "model/error.h"
#include "model/records.h"
#include "userdata/learning_state.h"

namespace ferrolune::userdata {

namespace change {

// Replaces the scores of the phrase with the same (qstring, current), or
// appends it.
struct PhraseUpsert {
  model::Unigram phrase;
};
// Appends the phrase unless one with the same (qstring, current) exists.
struct PhraseInsertIfAbsent {
  model::Unigram phrase;
};
struct PhraseDelete {
  std::string qstring;
  std::string current;
};
// Drops the override of `qstring`; with `current`, stores it as newest.
struct OverrideSet {
  std::string qstring;
  std::optional<std::string> current;
};
// Replaces the bigram of `bigram.qstring`, stored as newest.
struct BigramSet {
  model::Bigram bigram;
};
// Adds 1 to the count of the triple, or stores it with count 1.
struct TableCountIncrement {
  std::string method;
  std::string code;
  std::string current;
};
struct TableCountSet {
  std::string method;
  std::string code;
  std::string current;
  std::int64_t count = 1;
};
// The resets never touch user phrases; each raises the generation.
struct ResetAllLearning {};
struct ResetSmartLearning {};
struct ResetTableMethod {
  std::string method;
};

}  // namespace change

using LearningChange =
    std::variant<change::PhraseUpsert, change::PhraseInsertIfAbsent, change::PhraseDelete,
                 change::OverrideSet, change::BigramSet, change::TableCountIncrement,
                 change::TableCountSet, change::ResetAllLearning, change::ResetSmartLearning,
                 change::ResetTableMethod>;

// OverrideSet, BigramSet and TableCountIncrement only feed the caches and
// counts; a session may drop them when another writer reset learning.
bool is_cache_change(const LearningChange& change) noexcept;

bool is_reset_change(const LearningChange& change) noexcept;

// The value checks of the records a change carries (InvalidInput).
model::ModelResult<void> check_learning_change(const LearningChange& change);

// The state after `changes`, trimmed to the cache capacity, with the
// revision raised once if there was any change and the generation once per
// reset. `state` is not modified. Overflows are InvalidData.
model::ModelResult<LearningState> apply_learning_changes(const LearningState& state,
                                                         std::span<const LearningChange> changes);

}  // namespace ferrolune::userdata
