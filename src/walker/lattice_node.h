// LatticeNode: one word slot of the lattice, covering `span` consecutive
// positions from `start` of the sequence "!", reading 1 ... reading n, "$".
// Its lists are shared and immutable; only the lock and the position
// change after a node is built.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <tuple>

#include "smart/scored_words.h"
#include "smart/word_score.h"

namespace ferrolune::walker {

inline constexpr std::string_view kStartMarker = "!";
inline constexpr std::string_view kEndMarker = "$";
// No word covers more positions.
inline constexpr std::size_t kMaxSpan = 8;

struct LatticeNode {
  std::string key;  // the covered keys concatenated, or an alias key
  std::size_t start = 0;
  std::size_t span = 1;
  std::shared_ptr<const smart::WordList> words;           // after the override
  std::shared_ptr<const smart::PairTable> pairs;          // by previous word
  std::shared_ptr<const smart::WordList> previous_words;  // whose backoffs apply
  std::optional<std::string> lock;                        // a user's choice

  std::size_t end() const noexcept { return start + span; }

  smart::ScoredNode scored() const noexcept {
    return {lock ? &*lock : nullptr, words.get(), pairs.get(),
            previous_words ? &previous_words->backoffs : nullptr};
  }
};

// Lattice order: start, then span, then key bytes.
inline bool node_before(const LatticeNode& a, const LatticeNode& b) noexcept {
  return std::tie(a.start, a.span, a.key) < std::tie(b.start, b.span, b.key);
}

}  // namespace ferrolune::walker
