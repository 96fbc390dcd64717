// The session handle: an input session behind its lock.
#pragma once

#include "ffi/frame.h"

struct ferrolune_session {
  ferrolune::ffi::HandleState state;
};
