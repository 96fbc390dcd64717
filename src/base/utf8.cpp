#include "base/utf8.h"

namespace ferrolune::base {

namespace {

// Length of the sequence that starts with `lead`, or 0 for a byte that
// cannot start one.
std::size_t sequence_length(unsigned char lead) noexcept {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

}  // namespace

std::optional<char32_t> next_scalar(std::string_view text, std::size_t& pos) noexcept {
  if (pos >= text.size()) return std::nullopt;
  const auto lead = static_cast<unsigned char>(text[pos]);
  const std::size_t length = sequence_length(lead);
  if (length == 0 || pos + length > text.size()) return std::nullopt;
  if (length == 1) {
    ++pos;
    return lead;
  }
  char32_t value = lead & (0x7Fu >> length);
  for (std::size_t i = 1; i < length; ++i) {
    const auto byte = static_cast<unsigned char>(text[pos + i]);
    if ((byte & 0xC0u) != 0x80u) return std::nullopt;
    value = (value << 6) | (byte & 0x3Fu);
  }
  // Reject overlong forms, surrogates and values past the last plane.
  static constexpr char32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
  if (value < minimum[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    return std::nullopt;
  }
  pos += length;
  return value;
}

bool is_valid_utf8(std::string_view text) noexcept {
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (static_cast<unsigned char>(text[pos]) < 0x80) {
      ++pos;
      continue;
    }
    if (!next_scalar(text, pos)) return false;
  }
  return true;
}

std::size_t scalar_count(std::string_view text) noexcept {
  std::size_t count = 0;
  for (const char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0u) != 0x80u) ++count;
  }
  return count;
}

void append_utf8(std::string& out, char32_t scalar) {
  if (scalar < 0x80) {
    out.push_back(static_cast<char>(scalar));
  } else if (scalar < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (scalar >> 6)));
    out.push_back(static_cast<char>(0x80 | (scalar & 0x3F)));
  } else if (scalar < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (scalar >> 12)));
    out.push_back(static_cast<char>(0x80 | ((scalar >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (scalar & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (scalar >> 18)));
    out.push_back(static_cast<char>(0x80 | ((scalar >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((scalar >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (scalar & 0x3F)));
  }
}

}  // namespace ferrolune::base
