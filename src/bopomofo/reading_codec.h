// The reading key (`qstring`) and its codec: how the model, the phonetic
// dictionary, the user database and the smart composition store readings.
//
// One syllable is two printable ASCII characters, low part first:
// '0' + ordinal % 79, then '0' + ordinal / 79 (ㄅㄧㄠˊ is "fG", the empty
// syllable "00"). A word's key is its syllables' keys concatenated, so its
// length is twice the syllable count.
//
// encode_reading turns Bopomofo text into a key and its canonical text;
// decode_qstring turns a key back into Bopomofo text. Both return a value
// or a ReadingCodecError and keep no state; the first failure ends the
// conversion and nothing partial is returned.
#pragma once

#include <cstdint>
#include <expected>
#include <string>
#include <string_view>

#include "bopomofo/syllable.h"

namespace ferrolune::bopomofo {

enum class EncodeSeparator : std::uint8_t {
  Comma,       // syllables separated by ","; empty tokens are kept
  Whitespace,  // by runs of ASCII white space; empty tokens are dropped
};
enum class ComponentPolicy : std::uint8_t {
  ReplaceKnown,  // unknown characters are skipped, a later component replaces an earlier one
  UniqueKnown,   // both are errors
};
enum class EmptySyllablePolicy : std::uint8_t { Skip, Reject };

struct EncodeOptions {
  EncodeSeparator separator = EncodeSeparator::Comma;
  ComponentPolicy components = ComponentPolicy::ReplaceKnown;
  EmptySyllablePolicy empty = EmptySyllablePolicy::Skip;
  // A syllable with only a tone is an error.
  bool require_phonetic = false;
};

enum class DecodeSeparator : std::uint8_t {
  Comma,  // syllables joined with ","
  Space,  // with one blank
};
enum class QueryPolicy : std::uint8_t {
  Canonical,        // a pair above 6159 is an error
  PrintableModulo,  // such a pair is reduced by 6160
};
enum class OddTailPolicy : std::uint8_t { Reject, Ignore };

struct DecodeOptions {
  DecodeSeparator separator = DecodeSeparator::Comma;
  QueryPolicy query = QueryPolicy::PrintableModulo;
  OddTailPolicy odd_tail = OddTailPolicy::Reject;
  // No separator is written while the output is still empty.
  bool omit_leading_empty = false;
};

enum class ReadingCodecErrorKind : std::uint8_t {
  InputContainsNul,
  UnknownComponent,
  DuplicateClass,
  EmptySyllable,
  ToneOnly,
  OddKeyLength,
  InvalidPair,
};

struct ReadingCodecError {
  ReadingCodecErrorKind kind;
  // The offending character (UTF-8) for UnknownComponent and DuplicateClass.
  std::string character;

  // The fixed message of the kind, e.g. "unknown phonetic component: x".
  std::string message() const;

  friend bool operator==(const ReadingCodecError&, const ReadingCodecError&) = default;
};

// The outcome of either conversion.
struct ReadingConversion {
  std::string qstring;           // the key (for decoding: exactly as given)
  std::string reading;           // Bopomofo text, syllables joined by the separator
  std::uint64_t syllable_count;  // for decoding: the key length / 2, rounded down

  friend bool operator==(const ReadingConversion&, const ReadingConversion&) = default;
};

template <class T>
using CodecResult = std::expected<T, ReadingCodecError>;

// The two-character key of one syllable.
std::string syllable_qstring(BopomofoSyllable syllable);

// The syllable of one two-character key, when both bytes are in '0'..'~'
// and the value is canonical (at most 6159); nothing otherwise.
std::optional<BopomofoSyllable> qstring_syllable(std::string_view pair) noexcept;

// Bopomofo text (UTF-8; a malformed byte counts as an unknown character
// U+FFFD) to key and canonical text.
CodecResult<ReadingConversion> encode_reading(std::string_view text, const EncodeOptions& options = {});

// A key (any bytes) to Bopomofo text.
CodecResult<ReadingConversion> decode_qstring(std::string_view key, const DecodeOptions& options = {});

// Whether a user phrase and its key belong together: 1 to 8 characters, no
// control characters, and one canonical key with an initial, medial or
// final per character. The one failure message is
// "user phrase needs 1..8 characters and matching canonical phonetic query keys".
std::expected<void, std::string> validate_phrase_key(std::string_view phrase, std::string_view key);

}  // namespace ferrolune::bopomofo
