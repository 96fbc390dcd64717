// LearningState: a session's learned data in memory, and the value checks
// every learned record passes, whether it comes from the database or from
// a change.
//
// Lists keep database row order; in the two caches that is oldest first.
// A state is immutable once built: sessions share it through
// std::shared_ptr<const LearningState> and replace it as a whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "model/error.h"
#include "model/records.h"
#include "userdata/learning_records.h"

namespace ferrolune::userdata {

// The most entries each of the two caches holds, in memory and on disk.
inline constexpr std::size_t kCacheCapacity = 200;

struct LearningState {
  std::vector<model::Unigram> phrases;
  std::vector<CandidateOverride> overrides;
  std::vector<model::Bigram> bigrams;
  std::vector<TableLearning> table_counts;
  std::int64_t generation = 0;
  std::int64_t revision = 0;
  friend bool operator==(const LearningState&, const LearningState&) = default;
};

// Value checks; every failure is InvalidInput with a message naming the
// field ("phrase query must be nonempty and contain no NUL").
model::ModelResult<void> check_learning_text(std::string_view text, std::string_view label);
model::ModelResult<void> check_phrase(const model::Unigram& phrase);
model::ModelResult<void> check_override(const CandidateOverride& entry);
model::ModelResult<void> check_bigram(const model::Bigram& bigram);
// "cangjie", "simplex" or "traditional".
model::ModelResult<void> check_table_method(std::string_view method);
model::ModelResult<void> check_table_learning(const TableLearning& entry);

// The invariants of a state: non-negative counters, caches within
// capacity, no duplicate keys in any list, every record passing its check.
model::ModelResult<void> validate_learning_state(const LearningState& state);

}  // namespace ferrolune::userdata
