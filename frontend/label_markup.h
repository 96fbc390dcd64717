// The candidate window's label: the composition as Pango markup with the
// character at the caret drawn in the host's caret colours, or a
// highlighted blank when the caret stands after the last character. Every
// piece of text is escaped, so "<" and "&" in a composition show as
// themselves.
#pragma once

#include <string>

namespace ferrolune::frontend {

std::string build_label_markup(const char* visible_text, int cursor, const char* cursor_bg,
                               const char* cursor_fg);

}  // namespace ferrolune::frontend
