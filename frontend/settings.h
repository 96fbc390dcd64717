// The settings file: HOME/.tovu/config/ferrolune.json, a JSON object with
// the members of ferrolune_conf. Loading never fails: a missing or
// malformed file, or a member of the wrong type or range, keeps the
// default. Saving writes a temporary file beside it and renames it over
// the old one, so a failed save leaves the old file intact and no
// temporary file behind. The exported C functions are declared in
// tovu_module.h.
#pragma once

#include "tovu_module.h"

namespace ferrolune::frontend {

ferrolune_conf default_conf();

// HOME from the environment; the empty text when unset.
const char* home_directory();

}  // namespace ferrolune::frontend
