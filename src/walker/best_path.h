// best_path: the highest-scoring way through the lattice from the start
// marker to the end, each node scored after the word chosen before it.
//
// At each position the candidates are the nodes starting there in lattice
// order, or only the first locked one if any is locked. A later candidate
// replaces an earlier one only with a strictly greater total, so ties go
// to the shorter span, then the smaller key. Each (position, previous
// word) pair is solved once per walk.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "smart/word_score.h"
#include "walker/lattice_node.h"

namespace ferrolune::walker {

struct PathStep {
  std::string word;   // empty for the markers and for nodes without words
  std::size_t node;   // index into the walked nodes
  double score = 0;   // cumulative, from this step to the end of the path
};

// `nodes` must be in lattice order.
std::vector<PathStep> best_path(std::span<const LatticeNode> nodes, bool use_bigrams,
                                smart::ScoringDefaults defaults);

}  // namespace ferrolune::walker
