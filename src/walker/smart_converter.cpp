#include "walker/smart_converter.h"

#include <algorithm>
#include <tuple>
#include <utility>

#include "walker/polyphone_aliases.h"

namespace ferrolune::walker {

namespace {

constexpr std::string_view kPunctuationPrefix = "_punctuation_";

std::unexpected<model::ModelError> outside_readings() {
  return model::model_failure(model::ModelErrorKind::InvalidInput,
                              "reading index is outside the composition");
}

}  // namespace

SmartConverter::SmartConverter(std::shared_ptr<const table::CandidateFilter> filter)
    : lm_(std::move(filter)) {}

std::string_view SmartConverter::position_key(std::size_t position) const {
  if (position == 0) return kStartMarker;
  if (position > readings_.size()) return kEndMarker;
  return readings_[position - 1];
}

std::size_t SmartConverter::find_node(std::size_t start, std::size_t span,
                                      std::string_view key) const {
  auto found = std::lower_bound(nodes_.begin(), nodes_.end(), std::tie(start, span, key),
                                [](const LatticeNode& node, const auto& wanted) {
                                  return std::tuple<std::size_t, std::size_t, std::string_view>(
                                             node.start, node.span, node.key) < wanted;
                                });
  if (found != nodes_.end() && found->start == start && found->span == span && found->key == key) {
    return static_cast<std::size_t>(found - nodes_.begin());
  }
  return nodes_.size();
}

void SmartConverter::sort_nodes() { std::stable_sort(nodes_.begin(), nodes_.end(), node_before); }

model::ModelResult<void> SmartConverter::add_node(const model::ModelDatabase& model,
                                                  std::size_t start, std::size_t span,
                                                  std::string key,
                                                  std::shared_ptr<const smart::WordList> words) {
  LatticeNode node{std::move(key), start, span, std::move(words), nullptr, nullptr, std::nullopt};
  // Only the first node in lattice order that ends here (the longest) is
  // the previous node, although others may end here too.
  const std::size_t earliest = start > kMaxSpan ? start - kMaxSpan : 0;
  auto previous = std::lower_bound(nodes_.begin(), nodes_.end(), earliest,
                                   [](const LatticeNode& n, std::size_t s) { return n.start < s; });
  for (; previous != nodes_.end() && previous->start < start; ++previous) {
    if (previous->end() == start) break;
  }
  if (previous != nodes_.end() && previous->end() == start) {
    std::string pair_key = previous->key;
    pair_key += ' ';
    pair_key += node.key;
    auto pairs = lm_.pair_list(model, pair_key);
    if (!pairs) return std::unexpected(std::move(pairs.error()));
    node.pairs = std::move(*pairs);
    node.previous_words = previous->words;
  }
  lm_.apply_override(node.key, node.words, node.pairs);
  auto place = std::upper_bound(nodes_.begin(), nodes_.end(), node, node_before);
  nodes_.insert(place, std::move(node));
  return {};
}

model::ModelResult<void> SmartConverter::complete_lattice(const model::ModelDatabase& model) {
  const std::size_t positions = readings_.size() + 2;
  std::string plain;
  std::string alias;
  for (std::size_t start = 0; start < positions; ++start) {
    const auto group = alias_group_key(position_key(start));
    plain.assign(position_key(start));
    if (group) alias.assign(*group);
    for (std::size_t span = 1; span <= std::min(kMaxSpan, positions - start); ++span) {
      if (span > 1) {
        plain += position_key(start + span - 1);
        if (group) alias += position_key(start + span - 1);
      }
      for (int pass = 0; pass < (group ? 2 : 1); ++pass) {
        const std::string& key = pass == 0 ? plain : alias;
        // An existing node already holds this key's list.
        if (find_node(start, span, key) != nodes_.size()) continue;
        auto words = lm_.word_list(model, key);
        if (!words) return std::unexpected(std::move(words.error()));
        if (span > 1 && (*words)->rows.empty()) continue;
        if (auto added = add_node(model, start, span, key, std::move(*words)); !added) {
          return added;
        }
      }
    }
  }
  return {};
}

void SmartConverter::walk() { path_ = best_path(nodes_, use_bigrams_, lm_.defaults()); }

std::vector<Segment> SmartConverter::segments() const {
  std::vector<Segment> result;
  for (const auto& step : path_) {
    const auto& node = nodes_[step.node];
    if (node.start >= 1 && node.start <= readings_.size()) {
      result.push_back(Segment{step.word, node.start - 1, node.span, step.score});
    }
  }
  return result;
}

model::ModelResult<bool> SmartConverter::insert_reading(const model::ModelDatabase& model,
                                                        std::size_t index, std::string key) {
  if (index > readings_.size()) return outside_readings();
  auto words = lm_.word_list(model, key);
  if (!words) return std::unexpected(std::move(words.error()));
  if ((*words)->rows.empty()) return false;

  SmartConverter saved = *this;
  const std::size_t i = index;
  const std::size_t w = index + 2;
  std::vector<LatticeNode> kept;
  kept.reserve(nodes_.size());
  for (auto& node : nodes_) {
    if (node.end() <= i) {
      kept.push_back(std::move(node));
    } else if (node.start > w) {
      ++node.start;
      kept.push_back(std::move(node));
    } else if (node.lock) {
      // A locked node spanning the insertion point keeps its place; one
      // that starts after it moves with its readings.
      const bool spanning = node.start <= i && node.end() > w;
      if (!spanning && node.start > i) ++node.start;
      kept.push_back(std::move(node));
    }
  }
  nodes_ = std::move(kept);
  sort_nodes();
  readings_.insert(readings_.begin() + static_cast<std::ptrdiff_t>(index), std::move(key));
  if (auto completed = complete_lattice(model); !completed) {
    *this = std::move(saved);
    return std::unexpected(std::move(completed.error()));
  }
  walk();
  return true;
}

model::ModelResult<void> SmartConverter::delete_reading(const model::ModelDatabase& model,
                                                        std::size_t index) {
  if (index >= readings_.size()) return outside_readings();
  SmartConverter saved = *this;
  const std::size_t i = index;
  const std::size_t p = index + 1;
  auto near = [&](std::size_t at) { return at >= i && at <= i + 2; };
  std::vector<LatticeNode> kept;
  kept.reserve(nodes_.size());
  for (auto& node : nodes_) {
    // A node covering the deleted reading would name readings it no
    // longer covers.
    if (node.start <= p && p < node.end()) continue;
    if (near(node.start) || near(node.end())) {
      const bool punctuation_lock = node.lock && node.key.size() > kPunctuationPrefix.size() &&
                                    node.key.starts_with(kPunctuationPrefix);
      if (!punctuation_lock) continue;
    }
    if (node.start > p) --node.start;
    kept.push_back(std::move(node));
  }
  nodes_ = std::move(kept);
  sort_nodes();
  readings_.erase(readings_.begin() + static_cast<std::ptrdiff_t>(index));
  if (auto completed = complete_lattice(model); !completed) {
    *this = std::move(saved);
    return std::unexpected(std::move(completed.error()));
  }
  walk();
  return {};
}

std::optional<TakenSegment> SmartConverter::take_leading_segment() {
  auto step = std::find_if(path_.begin(), path_.end(),
                           [&](const PathStep& s) { return nodes_[s.node].start == 1; });
  if (step == path_.end()) return std::nullopt;
  const LatticeNode& node = nodes_[step->node];
  TakenSegment taken{std::string(smart::word_score(node.scored(), {}, use_bigrams_, lm_.defaults()).word),
                     node.span, step->score};
  if (auto next = step + 1; next != path_.end()) {
    auto& following = nodes_[next->node];
    following.lock = std::string(
        smart::word_score(following.scored(), taken.text, use_bigrams_, lm_.defaults()).word);
  }
  const std::size_t span = taken.span;
  std::vector<LatticeNode> kept;
  kept.reserve(nodes_.size());
  for (auto& n : nodes_) {
    // The start marker stays; anything covering a taken reading goes.
    if (n.start == 0 && n.span == 1) {
      kept.push_back(std::move(n));
    } else if (n.start > span) {
      n.start -= span;
      kept.push_back(std::move(n));
    }
  }
  nodes_ = std::move(kept);
  readings_.erase(readings_.begin(),
                  readings_.begin() + static_cast<std::ptrdiff_t>(std::min(span, readings_.size())));
  walk();
  return taken;
}

void SmartConverter::clear() {
  readings_.clear();
  nodes_.clear();
  path_.clear();
}

model::ModelResult<bool> SmartConverter::has_words(const model::ModelDatabase& model,
                                                   std::string_view key) {
  auto words = lm_.word_list(model, key);
  if (!words) return std::unexpected(std::move(words.error()));
  return !(*words)->rows.empty();
}

model::ModelResult<bool> SmartConverter::has_several_words(const model::ModelDatabase& model,
                                                           std::string_view key) {
  auto words = lm_.word_list(model, key);
  if (!words) return std::unexpected(std::move(words.error()));
  return (*words)->rows.size() > 1;
}

model::ModelResult<bool> SmartConverter::reconfigure(
    const model::ModelDatabase& model, std::shared_ptr<const userdata::LearningState> learning,
    const LearningOptions& options) {
  if (!learning) learning = std::make_shared<const userdata::LearningState>();
  const auto switches = smart::learning_switches(options);
  if (lm_.same_learning(*learning, switches)) return false;

  struct Lock {
    std::size_t start;
    std::size_t span;
    std::string key;
    std::string text;
  };
  std::vector<Lock> locks;
  for (const auto& node : nodes_) {
    if (node.lock) locks.push_back(Lock{node.start, node.span, node.key, *node.lock});
  }
  SmartConverter saved = *this;
  lm_.install(std::move(learning), switches);
  nodes_.clear();
  path_.clear();
  if (!readings_.empty()) {
    if (auto completed = complete_lattice(model); !completed) {
      *this = std::move(saved);
      return std::unexpected(std::move(completed.error()));
    }
  }
  for (const auto& lock : locks) {
    const std::size_t found = find_node(lock.start, lock.span, lock.key);
    if (found != nodes_.size() && nodes_[found].words && nodes_[found].words->contains(lock.text)) {
      nodes_[found].lock = lock.text;
    }
  }
  walk();
  return true;
}

void SmartConverter::set_use_bigrams(bool use_bigrams) {
  if (use_bigrams == use_bigrams_) return;
  use_bigrams_ = use_bigrams;
  walk();
}

void SmartConverter::set_lock(std::size_t index, std::optional<std::string> text) {
  if (index < nodes_.size()) nodes_[index].lock = std::move(text);
}

void SmartConverter::queue_learning(userdata::LearningChange change) {
  queued_.push_back(std::move(change));
}

std::vector<userdata::LearningChange> SmartConverter::take_learning_changes() {
  return std::exchange(queued_, {});
}

}  // namespace ferrolune::walker
