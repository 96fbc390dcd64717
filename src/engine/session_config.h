// SessionConfig: everything a session is created from besides the model
// path. Every member has a fixed default, so a default-constructed value is
// the configuration of an empty document. The validators return the plain
// message the caller sees; the option validators are also what the
// set_smart_options and set_table_options operations run.
#pragma once

#include <optional>
#include <string>

#include "base/options.h"
#include "bopomofo/layout_kind.h"
#include "model/error.h"

namespace ferrolune::engine {

struct SessionConfig {
  InputMethod method = InputMethod::Traditional;
  BehaviorProfile profile = BehaviorProfile::Desktop;
  bopomofo::BopomofoLayout layout = bopomofo::BopomofoLayout::Standard;
  BehaviorOptions behaviors;
  SmartOptions smart;
  LearningOptions learning;
  // Absent: a private in-memory user database that lives with the session.
  std::optional<std::string> user_database;
  std::optional<std::string> traditional_selection_keys;
  std::optional<std::string> table_selection_keys;
  // Absent: the method's built-in options.
  std::optional<TableOptions> cangjie;
  std::optional<TableOptions> simplex;
  friend bool operator==(const SessionConfig&, const SessionConfig&) = default;
};

// The composition limit must be 10..20; candidate keys, when given, 1..32
// unique printable non-space ASCII bytes.
Result<void> validate_smart_options(const SmartOptions& options);

// A maximum radical length, when given, must be 1..128; each wildcard
// symbol, when given, a printable non-space ASCII character.
Result<void> validate_table_options(const TableOptions& options);

// The smart options, then the Cangjie and Simplex options, then the two
// selection-key strings, stopping at the first failure.
Result<void> validate_session_config(const SessionConfig& config);

}  // namespace ferrolune::engine
