// The KEYS argument of `ferrolune type`: characters typed one by one, and
// named keys and modified keystrokes written in braces.
//
//   1ul6          four characters
//   {space}       a named key: space, enter (return), backspace, escape,
//                 delete, tab, left, right, up, down, home, end, page_up,
//                 page_down
//   {ctrl+1}      a character or named key with modifiers joined by "+":
//                 shift, ctrl (control), alt, command, caps_lock, keypad
//   {{ and }}     a literal brace
//
// Each keystroke becomes one input operation document, in order.
#pragma once

#include <expected>
#include <string>
#include <string_view>
#include <vector>

namespace ferrolune::cli {

std::expected<std::vector<std::string>, std::string> key_operations(std::string_view keys);

}  // namespace ferrolune::cli
