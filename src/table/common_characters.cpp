#include "table/common_characters.h"

#include <cstddef>
#include <unordered_map>

#include "base/utf8.h"
#include "table/canonical_candidate.h"

namespace ferrolune::table {
namespace {

const std::unordered_map<char32_t, std::uint64_t>& rank_map() {
  // A function-local static: its initialisation is thread-safe.
  static const std::unordered_map<char32_t, std::uint64_t> map = [] {
    std::unordered_map<char32_t, std::uint64_t> ranks;
    ranks.reserve(kCommonCharacterCount);
    std::size_t pos = 0;
    std::uint64_t rank = 1;
    while (const auto scalar = base::next_scalar(kCommonCharacterList, pos)) {
      ranks.emplace(*scalar, rank++);
    }
    return ranks;
  }();
  return map;
}

}  // namespace

std::uint64_t common_character_rank(std::string_view candidate) {
  const std::string canonical = canonical_candidate(candidate);
  std::size_t pos = 0;
  const auto scalar = base::next_scalar(canonical, pos);
  if (!scalar || pos != canonical.size()) return kUnrankedCandidate;
  const auto& ranks = rank_map();
  const auto found = ranks.find(*scalar);
  return found == ranks.end() ? kUnrankedCandidate : found->second;
}

}  // namespace ferrolune::table
