// The built-in CommonCharacterList: 1500 distinct characters of U+4E00 to
// U+9FFF, most frequent first, and the rank derived from it that orders
// prefix completions. The character-to-rank map is built once, on first
// use, and then only read, so any thread may ask at any time.
#pragma once

#include <cstdint>
#include <limits>
#include <string_view>

namespace ferrolune::table {

// The list as UTF-8, in rank order.
extern const std::string_view kCommonCharacterList;
inline constexpr std::size_t kCommonCharacterCount = 1500;

// The rank of texts that are not one common character: after every real rank.
inline constexpr std::uint64_t kUnrankedCandidate = std::numeric_limits<std::uint64_t>::max();

// The 1-based position in the list of the candidate's canonical form when
// that form is exactly one listed character; kUnrankedCandidate otherwise.
std::uint64_t common_character_rank(std::string_view candidate);

}  // namespace ferrolune::table
