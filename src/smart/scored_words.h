// The scored lists a lattice node is built from: a word list (the words of
// one reading key, best first, with the backoff of each word), and a pair
// table (for each previous word, the words that may follow it, highest
// probability first). Both are immutable once built and shared between the
// nodes and caches that use them.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/records.h"

namespace ferrolune::smart {

// Word -> backoff, looked up when the word is the previous word. A word
// listed twice keeps the backoff of its first (best) row.
class BackoffMap {
 public:
  BackoffMap() = default;
  explicit BackoffMap(std::span<const model::Unigram> rows);

  std::optional<double> find(std::string_view word) const;
  bool empty() const noexcept { return entries_.empty(); }

 private:
  std::vector<std::pair<std::string, double>> entries_;  // sorted by word
};

struct WordList {
  std::vector<model::Unigram> rows;  // best first
  BackoffMap backoffs;               // of `rows`

  WordList() = default;
  explicit WordList(std::vector<model::Unigram> sorted_rows)
      : rows(std::move(sorted_rows)), backoffs(rows) {}

  bool contains(std::string_view word) const;
};

struct PairWord {
  std::string word;
  double probability = 0;
  friend bool operator==(const PairWord&, const PairWord&) = default;
};

class PairTable {
 public:
  PairTable() = default;
  // Groups rows (already highest first) by `previous`; each group keeps
  // the rows' order.
  explicit PairTable(std::span<const model::Bigram> rows);

  const std::vector<PairWord>* find(std::string_view previous) const;
  std::vector<PairWord>* find(std::string_view previous);
  bool empty() const noexcept { return groups_.empty(); }

 private:
  std::vector<std::pair<std::string, std::vector<PairWord>>> groups_;  // sorted by previous
};

}  // namespace ferrolune::smart
