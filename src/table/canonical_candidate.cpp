#include "table/canonical_candidate.h"

#include <cstddef>

#include "base/utf8.h"
#include "table/unicode_tables.h"

namespace ferrolune::table {

std::string canonical_candidate(std::string_view candidate) {
  std::size_t pos = 0;
  const auto scalar = base::next_scalar(candidate, pos);
  if (!scalar || pos != candidate.size()) return std::string(candidate);
  const auto unified = unified_ideograph(*scalar);
  if (!unified) return std::string(candidate);
  std::string out;
  base::append_utf8(out, *unified);
  return out;
}

}  // namespace ferrolune::table
