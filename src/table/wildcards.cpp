#include "table/wildcards.h"

#include <cstddef>

#include "base/utf8.h"

namespace ferrolune::table {
namespace {

std::optional<char32_t> single_scalar(const std::optional<std::string>& text) {
  if (!text) return std::nullopt;
  std::size_t pos = 0;
  return base::next_scalar(*text, pos);
}

}  // namespace

Wildcards resolve_wildcards(DictionaryTable method, const std::optional<TableWildcards>& configured) {
  if (configured) return Wildcards{single_scalar(configured->one), single_scalar(configured->many)};
  if (method == DictionaryTable::Cangjie) return Wildcards{U'?', U'*'};
  return Wildcards{};
}

std::string translate_wildcards(std::string_view key, const Wildcards& wildcards) {
  std::string pattern;
  pattern.reserve(key.size());
  std::size_t pos = 0;
  while (pos < key.size()) {
    const std::size_t start = pos;
    const auto scalar = base::next_scalar(key, pos);
    if (!scalar) {
      // Keys reach us as valid UTF-8; should a stray byte get here it can
      // only match itself.
      pattern.push_back(key[pos++]);
      continue;
    }
    if (wildcards.one && *scalar == *wildcards.one) {
      pattern += '?';
    } else if (wildcards.many && *scalar == *wildcards.many) {
      pattern += '*';
    } else if (*scalar == U'*') {
      pattern += "[*]";
    } else if (*scalar == U'?') {
      pattern += "[?]";
    } else if (*scalar == U'[') {
      pattern += "[[]";
    } else {
      pattern.append(key.substr(start, pos - start));
    }
  }
  return pattern;
}

bool is_wildcard_key(std::string_view key, const Wildcards& wildcards) {
  if (key.size() < 2) return false;
  std::size_t pos = 0;
  while (const auto scalar = base::next_scalar(key, pos)) {
    if ((wildcards.one && *scalar == *wildcards.one) ||
        (wildcards.many && *scalar == *wildcards.many)) {
      return true;
    }
  }
  return false;
}

}  // namespace ferrolune::table
