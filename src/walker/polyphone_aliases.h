// Polyphone aliases: groups of one-syllable reading keys whose words are
// also looked up under a shared group key, so that a word stored under one
// tone or reading of a polyphonic character is found from the others. A
// group key is its first member's key followed by "#".
#pragma once

#include <optional>
#include <string_view>

namespace ferrolune::walker {

// The group key of a one-syllable reading key (compared as exact bytes),
// or nothing when the key belongs to no group.
std::optional<std::string_view> alias_group_key(std::string_view reading_key) noexcept;

}  // namespace ferrolune::walker
