// UTF-8 helpers shared by every layer: validation and scalar decoding.
// They never allocate and accept any byte sequence; invalid input is
// reported, never "repaired".
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ferrolune::base {

// True when `text` is well-formed UTF-8 (no overlongs, surrogates or values
// above U+10FFFF).
bool is_valid_utf8(std::string_view text) noexcept;

// Decodes the scalar at `pos` of valid UTF-8 text and advances `pos` past
// it. Returns nullopt (and leaves `pos`) at the end or on a malformed
// sequence.
std::optional<char32_t> next_scalar(std::string_view text, std::size_t& pos) noexcept;

// Number of scalars in valid UTF-8 text.
std::size_t scalar_count(std::string_view text) noexcept;

// Appends the UTF-8 encoding of `scalar` (which must be a Unicode scalar).
void append_utf8(std::string& out, char32_t scalar);

}  // namespace ferrolune::base
