// The host's preedit: the composition copied as whole UTF-8 characters
// into the host's 512-byte buffer, one attribute over the copied
// characters, and the caret clamped to them.
#pragma once

#include "tovu_module.h"

namespace ferrolune::frontend {

inline constexpr int kPreeditCapacity = 512;

// Returns the number of attributes written: 0 for no text, else 1.
int copy_preedit(const char* visible_text, int cursor, char* text, tovu_preedit_attribute* attrs,
                 int* cursor_out, int* extra);

}  // namespace ferrolune::frontend
