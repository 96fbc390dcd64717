// LanguageModel: the scores a Smart Mandarin converter works with. It
// builds the word list of a reading key (model rows, the user's phrases,
// phonetic dictionary entries, pass-through text) and the pair table of a
// pair key (model bigrams, or the user's learned bigram), lays the user's
// candidate override over a node's lists, and holds the learned data and
// switches all of that depends on.
//
// Copies are cheap: learned data, lists and caches are shared. The model
// row memo (ModelRows) and the list caches are memos of pure functions of
// the model and the installed learning data, so copies may share them;
// installing new learning data starts fresh list caches. Every call that
// may read the model takes the model the converter was built for.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "base/options.h"
#include "model/error.h"
#include "model/model_database.h"
#include "model/records.h"
#include "smart/key_cache.h"
#include "smart/model_rows.h"
#include "smart/scored_words.h"
#include "smart/word_score.h"
#include "table/candidate_filter.h"
#include "userdata/learning_records.h"
#include "userdata/learning_state.h"

namespace ferrolune::smart {

// The learning switches that change conversion results.
struct LearningSwitches {
  bool user_phrases = true;
  bool candidate_overrides = false;
  bool bigrams = false;
  friend bool operator==(const LearningSwitches&, const LearningSwitches&) = default;
};
LearningSwitches learning_switches(const LearningOptions& options) noexcept;

// Keys per list cache; a new key at capacity evicts the earliest one.
inline constexpr std::size_t kListCacheCapacity = 200;
// Held until the model's maximum is read.
inline constexpr double kInitialMaximumProbability = -1e-07;
inline constexpr std::string_view kPassthroughPrefix = "_passthru_";

class LanguageModel {
 public:
  explicit LanguageModel(std::shared_ptr<const table::CandidateFilter> filter = nullptr);

  // True when `learning` holds the same phrases, overrides and bigrams as
  // the installed data and the switches are the same.
  bool same_learning(const userdata::LearningState& learning, LearningSwitches switches) const;
  // Installs the data and switches, empties both list caches and makes
  // the next word list read the model's defaults again.
  void install(std::shared_ptr<const userdata::LearningState> learning, LearningSwitches switches);

  // The word list of a reading key, best first. Nothing is cached for a
  // key whose construction failed.
  model::ModelResult<std::shared_ptr<const WordList>> word_list(const model::ModelDatabase& model,
                                                                std::string_view key);
  // The pair table of a pair key ("previous key" blank "key").
  model::ModelResult<std::shared_ptr<const PairTable>> pair_list(const model::ModelDatabase& model,
                                                                 std::string_view pair_key);

  // Lays the newest usable override of `key` over a node's lists: its word
  // moves to the front of `words`, and to the front of the start-of-
  // composition entry of `pairs`. Unchanged lists are returned as they are.
  void apply_override(std::string_view key, std::shared_ptr<const WordList>& words,
                      std::shared_ptr<const PairTable>& pairs) const;

  // In-memory learning, effective for lists built from now on.
  // Removes every override of `key`; true when there was one.
  bool remove_override(std::string_view key);
  // Stores (key, text) as the newest override, dropping older ones of key.
  void set_override(std::string key, std::string text);
  // Stores the bigram as the newest one for its pair key.
  void set_learned_bigram(model::Bigram bigram);

  const userdata::SmartLearning& smart_learning() const noexcept { return *smart_learning_; }
  LearningSwitches switches() const noexcept { return switches_; }
  ScoringDefaults defaults() const noexcept { return defaults_; }
  double max_unigram_probability() const noexcept { return max_probability_; }
  const table::CandidateFilter& filter() const noexcept { return *filter_; }
  // Model rows shared by this model and its copies (queries made so far).
  const ModelRows& model_rows() const noexcept { return *rows_; }

 private:
  struct ListCaches {
    KeyCache<std::shared_ptr<const WordList>> words{kListCacheCapacity};
    KeyCache<std::shared_ptr<const PairTable>> pairs{kListCacheCapacity};
  };

  model::ModelResult<void> first_use(const model::ModelDatabase& model);
  bool accepts(std::string_view word) const { return word.empty() || filter_->accepts(word); }

  std::shared_ptr<const table::CandidateFilter> filter_;
  std::shared_ptr<ModelRows> rows_;
  std::shared_ptr<ListCaches> caches_;
  std::shared_ptr<const userdata::LearningState> phrases_source_;
  std::shared_ptr<const std::unordered_map<std::string, UnigramRows, TextHash, std::equal_to<>>> phrases_;
  std::shared_ptr<const userdata::SmartLearning> smart_learning_;
  LearningSwitches switches_;
  ScoringDefaults defaults_;
  double max_probability_ = kInitialMaximumProbability;
  bool first_use_done_ = false;
};

}  // namespace ferrolune::smart
