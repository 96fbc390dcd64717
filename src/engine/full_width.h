// Full-width conversion of committed text: the space becomes U+3000 and
// each printable ASCII character its full-width form (U+FF01..U+FF5E);
// everything else is kept, so converting twice changes nothing.
#pragma once

#include <string>
#include <string_view>

namespace ferrolune::engine {

std::string to_full_width(std::string_view text);

}  // namespace ferrolune::engine
