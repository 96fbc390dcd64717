// Wildcard keys of the table methods. A key is typed with up to two
// wildcard characters, one standing for a single code letter and one for
// any run of letters; translate_wildcards turns such a key into a SQLite
// GLOB pattern in which every other character matches only itself.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/options.h"
#include "table/dictionary_queries.h"

namespace ferrolune::table {

// The wildcard characters in force; none means that character has no
// wildcard meaning.
struct Wildcards {
  std::optional<char32_t> one;
  std::optional<char32_t> many;
  friend bool operator==(const Wildcards&, const Wildcards&) = default;
};

// The configured pair, or when unset the method's default: "?" and "*" for
// Cangjie, no wildcards for the other tables.
Wildcards resolve_wildcards(DictionaryTable method, const std::optional<TableWildcards>& configured);

// Each character of the key, in order: the one-character wildcard becomes
// "?", the many-character wildcard "*", a literal "*", "?" or "[" becomes
// "[*]", "[?]" or "[[]", anything else stays. The wildcard tests come
// first, so with the default pair a typed "?" keeps its GLOB meaning.
std::string translate_wildcards(std::string_view key, const Wildcards& wildcards);

// A wildcard key is at least two bytes long and holds one of the wildcard
// characters; a lone one-byte "?" is an ordinary key.
bool is_wildcard_key(std::string_view key, const Wildcards& wildcards);

}  // namespace ferrolune::table
