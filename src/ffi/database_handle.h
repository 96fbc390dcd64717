// The stand-alone model handle: a verified ModelDatabase behind its lock.
// Every request on it holds the lock for its whole duration, because the
// model connection is opened without SQLite's own mutex.
#pragma once

#include "ffi/frame.h"
#include "model/model_database.h"

struct ferrolune_database {
  ferrolune::ffi::HandleState state;
  ferrolune::model::ModelDatabase database;
};
