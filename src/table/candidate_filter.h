// The predicate a session applies to every candidate text before showing
// it: either accept-all, or a caller-supplied C callback with its context.
// A session holds its filter through a shared pointer, so copies of the
// session (the rollback copy of each operation) share one filter.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

namespace ferrolune::table {

// Receives the context, the candidate's UTF-8 bytes (not NUL-terminated)
// and their length; nonzero keeps the candidate.
using CandidateCallback = int (*)(void* context, const char* text, std::uint64_t length);

class CandidateFilter {
 public:
  // Accepts everything.
  CandidateFilter() = default;
  // A null callback accepts everything.
  CandidateFilter(CandidateCallback callback, void* context) noexcept
      : callback_(callback), context_(context) {}

  static std::shared_ptr<const CandidateFilter> accept_all();

  bool accepts(std::string_view text) const;

 private:
  CandidateCallback callback_ = nullptr;
  void* context_ = nullptr;
};

}  // namespace ferrolune::table
