#include "bopomofo/reading_codec.h"

#include <vector>

#include "base/utf8.h"

namespace ferrolune::bopomofo {

namespace {

constexpr unsigned kKeyBase = 79;
constexpr unsigned char kKeyLow = 0x30;   // '0'
constexpr unsigned char kKeyHigh = 0x7E;  // '~'

std::unexpected<ReadingCodecError> codec_error(ReadingCodecErrorKind kind, std::string character = {}) {
  return std::unexpected(ReadingCodecError{kind, std::move(character)});
}

bool is_ascii_space(char c) noexcept {
  return c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == ' ';
}

std::vector<std::string_view> split_tokens(std::string_view text, EncodeSeparator separator) {
  std::vector<std::string_view> tokens;
  if (separator == EncodeSeparator::Comma) {
    std::size_t start = 0;
    for (;;) {
      const std::size_t comma = text.find(',', start);
      if (comma == std::string_view::npos) {
        tokens.push_back(text.substr(start));
        return tokens;
      }
      tokens.push_back(text.substr(start, comma - start));
      start = comma + 1;
    }
  }
  std::size_t pos = 0;
  while (pos < text.size()) {
    while (pos < text.size() && is_ascii_space(text[pos])) ++pos;
    const std::size_t start = pos;
    while (pos < text.size() && !is_ascii_space(text[pos])) ++pos;
    if (pos > start) tokens.push_back(text.substr(start, pos - start));
  }
  return tokens;
}

std::string_view trim_blanks(std::string_view token) {
  constexpr std::string_view kBlanks = " \t\r\n";
  const std::size_t first = token.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return token.substr(first, token.find_last_not_of(kBlanks) - first + 1);
}

CodecResult<BopomofoSyllable> build_syllable(std::string_view token, ComponentPolicy policy) {
  BopomofoSyllable syllable;
  std::size_t pos = 0;
  while (pos < token.size()) {
    const std::size_t start = pos;
    std::optional<char32_t> scalar = base::next_scalar(token, pos);
    if (!scalar) {
      ++pos;
      scalar = U'\uFFFD';
    }
    const std::optional<BopomofoSyllable> component = component_of(*scalar);
    if (!component) {
      if (policy == ComponentPolicy::UniqueKnown) {
        std::string character;
        base::append_utf8(character, *scalar);
        return codec_error(ReadingCodecErrorKind::UnknownComponent, std::move(character));
      }
      continue;
    }
    if (policy == ComponentPolicy::UniqueKnown && (occupancy_mask(syllable) & occupancy_mask(*component))) {
      return codec_error(ReadingCodecErrorKind::DuplicateClass, std::string(token.substr(start, pos - start)));
    }
    syllable = merge_component(syllable, *component);
  }
  return syllable;
}

}  // namespace

std::string ReadingCodecError::message() const {
  switch (kind) {
    case ReadingCodecErrorKind::InputContainsNul: return "reading codec input contains NUL";
    case ReadingCodecErrorKind::UnknownComponent: return "unknown phonetic component: " + character;
    case ReadingCodecErrorKind::DuplicateClass: return "duplicate phonetic component class: " + character;
    case ReadingCodecErrorKind::EmptySyllable: return "reading contains an empty syllable";
    case ReadingCodecErrorKind::ToneOnly: return "reading syllable needs a phonetic component";
    case ReadingCodecErrorKind::OddKeyLength: return "phonetic query has an incomplete two-byte key";
    case ReadingCodecErrorKind::InvalidPair: return "phonetic query contains an invalid two-byte key";
  }
  return "reading codec error";
}

std::string syllable_qstring(BopomofoSyllable syllable) {
  const unsigned ordinal = syllable_ordinal(syllable);
  return {static_cast<char>(kKeyLow + ordinal % kKeyBase), static_cast<char>(kKeyLow + ordinal / kKeyBase)};
}

namespace {

// The value of a pair, 0 ..= 6240, or nothing when a byte is out of range.
std::optional<unsigned> pair_value(std::string_view pair) noexcept {
  const auto low = static_cast<unsigned char>(pair[0]);
  const auto high = static_cast<unsigned char>(pair[1]);
  if (low < kKeyLow || low > kKeyHigh || high < kKeyLow || high > kKeyHigh) return std::nullopt;
  return (high - kKeyLow) * kKeyBase + (low - kKeyLow);
}

}  // namespace

std::optional<BopomofoSyllable> qstring_syllable(std::string_view pair) noexcept {
  if (pair.size() != 2) return std::nullopt;
  const std::optional<unsigned> value = pair_value(pair);
  if (!value || *value >= kSyllableCount) return std::nullopt;
  return syllable_from_ordinal(*value);
}

CodecResult<ReadingConversion> encode_reading(std::string_view text, const EncodeOptions& options) {
  if (text.find('\0') != std::string_view::npos) return codec_error(ReadingCodecErrorKind::InputContainsNul);
  const bool trim = options.separator == EncodeSeparator::Comma && options.empty == EmptySyllablePolicy::Reject;
  const std::string_view joint = options.separator == EncodeSeparator::Comma ? "," : " ";
  ReadingConversion result{{}, {}, 0};
  for (std::string_view token : split_tokens(text, options.separator)) {
    if (trim) token = trim_blanks(token);
    const CodecResult<BopomofoSyllable> syllable = build_syllable(token, options.components);
    if (!syllable) return std::unexpected(syllable.error());
    if (syllable->empty()) {
      if (options.empty == EmptySyllablePolicy::Reject) return codec_error(ReadingCodecErrorKind::EmptySyllable);
      continue;
    }
    if (options.require_phonetic && !syllable->phonetic()) return codec_error(ReadingCodecErrorKind::ToneOnly);
    result.qstring += syllable_qstring(*syllable);
    if (result.syllable_count > 0) result.reading += joint;
    result.reading += render_bopomofo(*syllable);
    ++result.syllable_count;
  }
  if (result.syllable_count == 0 && options.empty == EmptySyllablePolicy::Reject) {
    return codec_error(ReadingCodecErrorKind::EmptySyllable);
  }
  return result;
}

CodecResult<ReadingConversion> decode_qstring(std::string_view key, const DecodeOptions& options) {
  if (key.find('\0') != std::string_view::npos) return codec_error(ReadingCodecErrorKind::InputContainsNul);
  if (key.size() % 2 != 0 && options.odd_tail == OddTailPolicy::Reject) {
    return codec_error(ReadingCodecErrorKind::OddKeyLength);
  }
  const char joint = options.separator == DecodeSeparator::Comma ? ',' : ' ';
  ReadingConversion result{std::string(key), {}, key.size() / 2};
  for (std::size_t i = 0; i + 1 < key.size(); i += 2) {
    std::optional<unsigned> value = pair_value(key.substr(i, 2));
    if (value && *value >= kSyllableCount) {
      if (options.query == QueryPolicy::Canonical) value.reset();
      else *value -= kSyllableCount;
    }
    if (!value) return codec_error(ReadingCodecErrorKind::InvalidPair);
    if (i > 0 && !(options.omit_leading_empty && result.reading.empty())) result.reading += joint;
    result.reading += render_bopomofo(syllable_from_ordinal(*value));
  }
  return result;
}

std::expected<void, std::string> validate_phrase_key(std::string_view phrase, std::string_view key) {
  const auto refuse = [] {
    return std::unexpected<std::string>(
        "user phrase needs 1..8 characters and matching canonical phonetic query keys");
  };
  if (!base::is_valid_utf8(phrase)) return refuse();
  std::size_t characters = 0;
  std::size_t pos = 0;
  while (const std::optional<char32_t> scalar = base::next_scalar(phrase, pos)) {
    if (*scalar <= 0x1F || (*scalar >= 0x7F && *scalar <= 0x9F)) return refuse();
    ++characters;
  }
  if (characters < 1 || characters > 8 || key.size() != 2 * characters) return refuse();
  for (std::size_t i = 0; i < key.size(); i += 2) {
    // Bytes outside '0'..'~' (non-ASCII included) make the pair invalid.
    const std::optional<BopomofoSyllable> syllable = qstring_syllable(key.substr(i, 2));
    if (!syllable || !syllable->phonetic()) return refuse();
  }
  return {};
}

}  // namespace ferrolune::bopomofo
