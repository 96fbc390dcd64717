// The polyphone groups of the Smart Mandarin lattice. When a span of
// readings starts with a member of a group, the engine also looks the span
// up under the group's key ("F0#" for 一 read ㄧ, ㄧˋ or ㄧˊ) followed by
// the keys of the remaining readings. The model makes such alias keys
// useful by repeating, under the alias, the words whose first character is
// a polyphone of the group: a character that has at least two of the
// group's readings (any character with the reading, for a group of one).
// Then 一個 is found whether the user types its first syllable in the
// dictionary's tone or in another tone of the group.
#pragma once

#include <string>
#include <vector>

namespace ferrolune::model_compiler {

struct PolyphoneGroup {
  std::string key;                   // the first member's key and "#"
  std::vector<std::string> members;  // one-syllable reading keys
};

// The groups, with keys computed by the engine's reading codec.
std::vector<PolyphoneGroup> polyphone_groups();

}  // namespace ferrolune::model_compiler
