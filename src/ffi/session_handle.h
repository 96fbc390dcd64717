// The session handle: an input session behind its lock.
#pragma once

#include <memory>

#include "engine/input_session.h"
#include "ffi/frame.h"

struct ferrolune_session {
  ferrolune::ffi::HandleState state;
  std::unique_ptr<ferrolune::engine::InputSession> session;
};
