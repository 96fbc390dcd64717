// SmartConverter: the Smart Mandarin conversion of one session. It holds
// the completed readings, the lattice of every word that can cover up to
// eight consecutive positions of "!", reading 1 ... reading n, "$", and the
// best path through it; every operation that changes readings brings the
// lattice up to date incrementally and walks again, so the path always
// describes the current readings.
//
// A reading is an opaque key: a syllable's two-character key, or a special
// key the session forms (pass-through, punctuation, control keys).
// Operations that read the model take the session's model; a failure
// (ModelError) leaves the converter as it was. Copies are cheap (lists,
// learned data and caches are shared), which keeps a session's per-
// operation rollback copy cheap. Index arguments outside the readings are
// refused with InvalidInput.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/options.h"
#include "model/error.h"
#include "model/model_database.h"
#include "smart/language_model.h"
#include "table/candidate_filter.h"
#include "userdata/learning_change.h"
#include "userdata/learning_state.h"
#include "walker/best_path.h"
#include "walker/lattice_node.h"

namespace ferrolune::walker {

// A word of the composed text: reading `start` (from 0) and `span` readings.
struct Segment {
  std::string text;
  std::size_t start = 0;
  std::size_t span = 0;
  double score = 0;  // cumulative, from this word to the end
  friend bool operator==(const Segment&, const Segment&) = default;
};

struct TakenSegment {
  std::string text;
  std::size_t span = 0;
  double score = 0;
  friend bool operator==(const TakenSegment&, const TakenSegment&) = default;
};

class SmartConverter {
 public:
  // Empty, word pairs on, user phrases on, overrides and learned bigrams
  // off. A null filter accepts every word.
  explicit SmartConverter(std::shared_ptr<const table::CandidateFilter> filter = nullptr);

  // Adds every missing node for the current readings.
  model::ModelResult<void> complete_lattice(const model::ModelDatabase& model);
  // Recomputes the path from the nodes.
  void walk();
  // The path without its two marker steps.
  std::vector<Segment> segments() const;

  // Inserts a reading before reading `index` (0 to n). False, with nothing
  // changed, when the key alone has no word.
  model::ModelResult<bool> insert_reading(const model::ModelDatabase& model, std::size_t index,
                                          std::string key);
  // Deletes reading `index` (below n). Locks next to it are lost, except
  // locks on punctuation keys.
  model::ModelResult<void> delete_reading(const model::ModelDatabase& model, std::size_t index);
  // Removes the first word's readings and returns its text; the word after
  // it is locked so that the rest of the text stays as it was.
  std::optional<TakenSegment> take_leading_segment();
  // Removes every reading (learned data and caches stay).
  void clear();

  model::ModelResult<bool> has_words(const model::ModelDatabase& model, std::string_view key);
  model::ModelResult<bool> has_several_words(const model::ModelDatabase& model,
                                             std::string_view key);

  // Installs the session's learned data and learning switches; when either
  // differs from the current one the lattice is rebuilt, locks are kept
  // where their node and word still exist, and the result is true.
  model::ModelResult<bool> reconfigure(const model::ModelDatabase& model,
                                       std::shared_ptr<const userdata::LearningState> learning,
                                       const LearningOptions& options);
  // Walks again when the switch changes; the lattice needs no rebuild.
  void set_use_bigrams(bool use_bigrams);

  const std::vector<std::string>& readings() const noexcept { return readings_; }
  const std::vector<LatticeNode>& nodes() const noexcept { return nodes_; }
  const std::vector<PathStep>& path() const noexcept { return path_; }
  bool use_bigrams() const noexcept { return use_bigrams_; }
  const smart::LanguageModel& language_model() const noexcept { return lm_; }
  smart::LanguageModel& language_model() noexcept { return lm_; }

  // Pins node `index` to `text` (or releases it); the caller walks.
  void set_lock(std::size_t index, std::optional<std::string> text);

  // Learning changes queued by choices, oldest first; taking them empties
  // the queue.
  void queue_learning(userdata::LearningChange change);
  const std::vector<userdata::LearningChange>& queued_learning() const noexcept { return queued_; }
  std::vector<userdata::LearningChange> take_learning_changes();

 private:
  std::string_view position_key(std::size_t position) const;
  // The index of the node (start, span, key), or nodes_.size().
  std::size_t find_node(std::size_t start, std::size_t span, std::string_view key) const;
  model::ModelResult<void> add_node(const model::ModelDatabase& model, std::size_t start,
                                    std::size_t span, std::string key,
                                    std::shared_ptr<const smart::WordList> words);
  void sort_nodes();

  std::vector<std::string> readings_;
  std::vector<LatticeNode> nodes_;
  std::vector<PathStep> path_;
  smart::LanguageModel lm_;
  bool use_bigrams_ = true;
  std::vector<userdata::LearningChange> queued_;
};

}  // namespace ferrolune::walker
