#include "smart/scored_words.h"

#include <algorithm>

namespace ferrolune::smart {

namespace {

template <class Entries>
auto lower_bound_by_key(Entries& entries, std::string_view key) {
  return std::lower_bound(entries.begin(), entries.end(), key,
                          [](const auto& entry, std::string_view k) { return entry.first < k; });
}

}  // namespace

BackoffMap::BackoffMap(std::span<const model::Unigram> rows) {
  entries_.reserve(rows.size());
  for (const auto& row : rows) entries_.emplace_back(row.current, row.backoff);
  std::stable_sort(entries_.begin(), entries_.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  auto last = std::unique(entries_.begin(), entries_.end(),
                          [](const auto& a, const auto& b) { return a.first == b.first; });
  entries_.erase(last, entries_.end());
}

std::optional<double> BackoffMap::find(std::string_view word) const {
  auto found = lower_bound_by_key(entries_, word);
  if (found == entries_.end() || found->first != word) return std::nullopt;
  return found->second;
}

bool WordList::contains(std::string_view word) const {
  return std::any_of(rows.begin(), rows.end(), [&](const auto& row) { return row.current == word; });
}

PairTable::PairTable(std::span<const model::Bigram> rows) {
  for (const auto& row : rows) {
    auto group = lower_bound_by_key(groups_, row.previous);
    if (group == groups_.end() || group->first != row.previous) {
      group = groups_.emplace(group, row.previous, std::vector<PairWord>{});
    }
    group->second.push_back(PairWord{row.current, row.probability});
  }
}

const std::vector<PairWord>* PairTable::find(std::string_view previous) const {
  auto found = lower_bound_by_key(groups_, previous);
  return found == groups_.end() || found->first != previous ? nullptr : &found->second;
}

std::vector<PairWord>* PairTable::find(std::string_view previous) {
  auto found = lower_bound_by_key(groups_, previous);
  return found == groups_.end() || found->first != previous ? nullptr : &found->second;
}

}  // namespace ferrolune::smart
