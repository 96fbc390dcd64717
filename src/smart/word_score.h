// word_score: the word a lattice node yields after a given previous word,
// and its log-domain score (larger is better).
//
// A locked node yields its chosen text with the fixed score 100. With word
// pairs on, the node's best word is scored with the previous word's
// backoff added, and a pair for the previous word whose probability is
// strictly higher replaces it. With word pairs off the best word is scored
// alone. A node without words yields the empty text with the default
// word score.
#pragma once

#include <string>
#include <string_view>

#include "smart/scored_words.h"

namespace ferrolune::smart {

inline constexpr double kLockedScore = 100.0;

// The default word score and default backoff: the best "*" row of the
// model, which scores words the model does not know.
struct ScoringDefaults {
  double word_score = 0.0;
  double backoff = 0.0;
  friend bool operator==(const ScoringDefaults&, const ScoringDefaults&) = default;
};

// What a node contributes to its score. `lock` and `pairs` may be null;
// `backoffs` are those of the previous node's words and may be null.
struct ScoredNode {
  const std::string* lock = nullptr;
  const WordList* words = nullptr;
  const PairTable* pairs = nullptr;
  const BackoffMap* backoffs = nullptr;
};

struct ScoredWord {
  std::string_view word;  // points into the node's lists or lock
  double score = 0;
};

ScoredWord word_score(const ScoredNode& node, std::string_view previous, bool use_bigrams,
                      ScoringDefaults defaults);

}  // namespace ferrolune::smart
