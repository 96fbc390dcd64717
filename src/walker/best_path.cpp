#include "walker/best_path.h"

#include <algorithm>
#include <limits>
#include <string_view>

namespace ferrolune::walker {

namespace {

constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();

struct Choice {
  std::string_view previous;
  double total = 0;
  std::size_t node = kNone;  // kNone: nothing starts here
  std::string_view word;
};

Choice nothing_after(std::string_view previous) { return Choice{previous, 0, kNone, {}}; }

class Walk {
 public:
  Walk(std::span<const LatticeNode> nodes, bool use_bigrams, smart::ScoringDefaults defaults)
      : nodes_(nodes), use_bigrams_(use_bigrams), defaults_(defaults) {
    std::size_t positions = 0;
    for (const auto& node : nodes) positions = std::max(positions, node.end());
    first_.assign(positions + 2, nodes.size());
    for (std::size_t i = nodes.size(); i-- > 0;) first_[nodes[i].start] = i;
    for (std::size_t p = positions + 1; p-- > 0;) first_[p] = std::min(first_[p], first_[p + 1]);
    memo_.resize(positions + 1);
  }

  Choice best(std::size_t position, std::string_view previous) {
    if (position >= memo_.size()) return nothing_after(previous);
    for (const auto& known : memo_[position]) {
      if (known.previous == previous) return known;
    }
    Choice result = nothing_after(previous);
    const std::size_t begin = first_[position];
    const std::size_t end = first_[position + 1];
    std::size_t only = kNone;
    for (std::size_t i = begin; i < end; ++i) {
      if (nodes_[i].lock) {
        only = i;
        break;
      }
    }
    bool found = false;
    for (std::size_t i = begin; i < end; ++i) {
      if (only != kNone && i != only) continue;
      const auto& node = nodes_[i];
      const auto scored = smart::word_score(node.scored(), previous, use_bigrams_, defaults_);
      const Choice rest = best(node.end(), scored.word);
      const double total = scored.score + (rest.node == kNone ? 0.0 : rest.total);
      if (!found || total > result.total) {
        result.total = total;
        result.node = i;
        result.word = scored.word;
        found = true;
      }
    }
    memo_[position].push_back(result);
    return result;
  }

  std::vector<PathStep> path() {
    std::vector<PathStep> steps;
    std::size_t position = 0;
    std::string_view previous;
    for (;;) {
      const Choice choice = best(position, previous);
      if (choice.node == kNone) break;
      steps.push_back(PathStep{std::string(choice.word), choice.node, choice.total});
      position = nodes_[choice.node].end();
      previous = choice.word;
    }
    return steps;
  }

 private:
  std::span<const LatticeNode> nodes_;
  bool use_bigrams_;
  smart::ScoringDefaults defaults_;
  std::vector<std::size_t> first_;  // first node index starting at or after p
  std::vector<std::vector<Choice>> memo_;
};

}  // namespace

std::vector<PathStep> best_path(std::span<const LatticeNode> nodes, bool use_bigrams,
                                smart::ScoringDefaults defaults) {
  if (nodes.empty()) return {};
  Walk walk(nodes, use_bigrams, defaults);
  return walk.path();
}

}  // namespace ferrolune::walker
