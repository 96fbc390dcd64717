// The reading codec request and answer documents.
//
// A request is one object whose "operation" picks the variant:
//   {"operation": "encode", "reading": "...", "options": {EncodeOptions}}
//   {"operation": "decode", "qstring": "...", "options": {DecodeOptions}}
// "reading" / "qstring" is required; "options" and each of its fields may be
// omitted and then take their defaults. Unknown or duplicate fields, in the
// request or its options, and unknown enumeration values are refused with a
// description that names the accepted ones. The fields may come in any
// order: the operation is found before the rest is read.
//
// The answer is {"schema_version":1,"kind":"reading_codec","qstring":...,
// "reading":...,"syllable_count":...}, compact and in that order.
#pragma once

#include <expected>
#include <string>
#include <string_view>
#include <variant>

#include "bopomofo/reading_codec.h"
#include "ffi/frame.h"

namespace ferrolune::ffi {

struct EncodeRequest {
  std::string reading;
  bopomofo::EncodeOptions options;
};

struct DecodeRequest {
  std::string qstring;
  bopomofo::DecodeOptions options;
};

using ReadingCodecOperation = std::variant<EncodeRequest, DecodeRequest>;

// Parses decoded request text; a failure is status 1 with
// "invalid reading codec request: " and the reader's description.
Checked<ReadingCodecOperation> parse_reading_codec_request(std::string_view text);

// Runs the conversion; its error is status 1 with the codec's message.
Checked<bopomofo::ReadingConversion> run_reading_codec(const ReadingCodecOperation& operation);

// The answer document, or the writer's description of why it could not be written.
std::expected<std::string, std::string> write_reading_codec_result(const bopomofo::ReadingConversion& conversion);

}  // namespace ferrolune::ffi
