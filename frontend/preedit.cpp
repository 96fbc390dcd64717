#include "preedit.h"

#include <algorithm>
#include <cstring>

#include <glib.h>

namespace ferrolune::frontend {

int copy_preedit(const char* visible_text, int cursor, char* text, tovu_preedit_attribute* attrs,
                 int* cursor_out, int* extra) {
  text[0] = '\0';
  *cursor_out = 0;
  *extra = 0;
  if (visible_text == nullptr) return 0;

  std::size_t used = 0;
  int characters = 0;
  for (const char* p = visible_text; *p != '\0';) {
    const char* next = g_utf8_find_next_char(p, nullptr);
    auto length = static_cast<std::size_t>(next - p);
    if (used + length >= kPreeditCapacity) break;
    std::memcpy(text + used, p, length);
    used += length;
    ++characters;
    p = next;
  }
  text[used] = '\0';
  if (characters == 0) return 0;

  *cursor_out = std::clamp(cursor, 0, characters);
  attrs[0].kind = 1;
  attrs[0].start = 0;
  attrs[0].end = static_cast<uint16_t>(characters);
  return 1;
}

}  // namespace ferrolune::frontend
