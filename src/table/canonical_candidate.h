// The form under which candidates are compared for duplicates and ranked:
// a candidate of exactly one CJK compatibility ideograph stands for the
// unified ideograph that canonical normalisation replaces it by (U+F900
// counts as U+8C48); every other text stands for itself.
#pragma once

#include <string>
#include <string_view>

namespace ferrolune::table {

std::string canonical_candidate(std::string_view candidate);

}  // namespace ferrolune::table
