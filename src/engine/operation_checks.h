// The content checks of an input operation: what the document alone can
// show to be wrong, checked after parsing and before the session acts.
// Everything that depends on the session's state is the session's to check.
#pragma once

#include "engine/input_operation.h"
#include "model/error.h"

namespace ferrolune::engine {

// A plain message on failure; the session is not touched either way.
Result<void> check_input_operation(const InputOperation& operation);

}  // namespace ferrolune::engine
