// Key translation: an X11 keysym and modifier mask to the engine's input
// operation document ("key" or "character" with its modifiers). Keys that
// the module does not translate (function keys, non-ASCII and Unicode
// keysyms) yield null and are left to the application.
#pragma once

#include <json-c/json.h>

namespace ferrolune::frontend {

// X11 modifier bits as the host passes them.
inline constexpr unsigned kShiftMask = 1;
inline constexpr unsigned kLockMask = 2;
inline constexpr unsigned kControlMask = 4;
inline constexpr unsigned kMod1Mask = 8;
inline constexpr unsigned kMod2Mask = 16;

// A new request object owned by the caller, or null. Alt and Caps Lock are
// decided before translation, by the caller.
json_object* translate_key(unsigned keysym, unsigned state);

}  // namespace ferrolune::frontend
