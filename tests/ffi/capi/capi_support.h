// Helpers for tests that use only the public interface.
#pragma once

#include <string>

#include "ferrolune.h"

namespace ferrolune::capi {

// The calling thread's last error, read by the two-call protocol.
inline std::string last_error_text() {
  uint64_t required = 0;
  if (ferrolune_last_error(nullptr, 0, &required) == FERROLUNE_OK) return "";
  std::string text(required, '\0');
  if (ferrolune_last_error(text.data(), required, &required) != FERROLUNE_OK) return "<unreadable>";
  text.resize(required - 1);
  return text;
}

// A result's JSON text, read by the two-call protocol.
inline std::string result_text(const ferrolune_result* result) {
  uint64_t required = 0;
  ferrolune_result_read(result, nullptr, 0, &required);
  std::string text(required, '\0');
  if (ferrolune_result_read(result, text.data(), required, &required) != FERROLUNE_OK) return "<unreadable>";
  text.resize(required - 1);
  return text;
}

}  // namespace ferrolune::capi
