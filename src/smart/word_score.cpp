#include "smart/word_score.h"

namespace ferrolune::smart {

ScoredWord word_score(const ScoredNode& node, std::string_view previous, bool use_bigrams,
                      ScoringDefaults defaults) {
  if (node.lock != nullptr) return {*node.lock, kLockedScore};
  const bool has_words = node.words != nullptr && !node.words->rows.empty();
  if (!use_bigrams) {
    if (!has_words) return {std::string_view(), defaults.word_score};
    const auto& best = node.words->rows.front();
    return {best.current, best.probability};
  }
  double backoff = defaults.backoff;
  if (node.backoffs != nullptr) {
    if (auto known = node.backoffs->find(previous)) backoff = *known;
  }
  ScoredWord choice = has_words
                          ? ScoredWord{node.words->rows.front().current,
                                       backoff + node.words->rows.front().probability}
                          : ScoredWord{std::string_view(), backoff + defaults.word_score};
  if (node.pairs != nullptr) {
    const auto* pairs = node.pairs->find(previous);
    if (pairs != nullptr && !pairs->empty() && pairs->front().probability > choice.score) {
      return {pairs->front().word, pairs->front().probability};
    }
  }
  return choice;
}

}  // namespace ferrolune::smart
