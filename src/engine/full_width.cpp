#include "engine/full_width.h"

#include "base/utf8.h"

namespace ferrolune::engine {

std::string to_full_width(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 3);
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == 0x20) {
      base::append_utf8(out, U'\u3000');
    } else if (byte >= 0x21 && byte <= 0x7E) {
      base::append_utf8(out, static_cast<char32_t>(byte) + 0xFEE0);
    } else {
      out.push_back(c);
    }
  }
  return out;
}

}  // namespace ferrolune::engine
