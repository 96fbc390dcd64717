#include "label_markup.h"

#include <algorithm>

#include <glib.h>

namespace ferrolune::frontend {

namespace {

std::string escaped(const char* text, gssize length) {
  gchar* markup = g_markup_escape_text(text, length);
  std::string result = markup;
  g_free(markup);
  return result;
}

}  // namespace

std::string build_label_markup(const char* visible_text, int cursor, const char* cursor_bg,
                               const char* cursor_fg) {
  const char* text = visible_text != nullptr ? visible_text : "";
  glong characters = g_utf8_strlen(text, -1);
  glong caret = std::clamp<glong>(cursor, 0, characters);
  const char* middle = g_utf8_offset_to_pointer(text, caret);
  const char* rest = caret < characters ? g_utf8_next_char(middle) : middle;

  std::string markup = escaped(text, middle - text);
  markup += "<span background=\"" + escaped(cursor_bg, -1) + "\" foreground=\"" + escaped(cursor_fg, -1) +
            "\">";
  markup += caret < characters ? escaped(middle, rest - middle) : std::string(" ");
  markup += "</span>";
  markup += escaped(rest, -1);
  return markup;
}

}  // namespace ferrolune::frontend
