#include "table/candidate_filter.h"

namespace ferrolune::table {

std::shared_ptr<const CandidateFilter> CandidateFilter::accept_all() {
  static const auto shared = std::make_shared<const CandidateFilter>();
  return shared;
}

bool CandidateFilter::accepts(std::string_view text) const {
  if (!callback_) return true;
  return callback_(context_, text.data(), text.size()) != 0;
}

}  // namespace ferrolune::table
