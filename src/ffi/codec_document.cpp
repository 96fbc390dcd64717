#include "ffi/codec_document.h"

#include <span>
#include <type_traits>

#include "ffi/json/writer.h"

namespace ferrolune::ffi {

namespace {

using bopomofo::ComponentPolicy;
using bopomofo::DecodeSeparator;
using bopomofo::EmptySyllablePolicy;
using bopomofo::EncodeSeparator;
using bopomofo::OddTailPolicy;
using bopomofo::QueryPolicy;
using json::FieldSet;
using json::Reader;
using json::Spelling;

constexpr std::string_view kPrefix = "invalid reading codec request: ";
constexpr std::string_view kWhat = "reading codec request";

enum class Operation { Encode, Decode };
constexpr Spelling kOperations[] = {{"encode", static_cast<int>(Operation::Encode)},
                                    {"decode", static_cast<int>(Operation::Decode)}};

template <class Enum>
Enum read_choice(Reader& reader, std::string_view what, std::span<const Spelling> spellings) {
  return static_cast<Enum>(reader.read_enum(what, spellings));
}

bopomofo::EncodeOptions read_encode_options(Reader& reader) {
  static constexpr std::string_view kFields[] = {"separator", "components", "empty", "require_phonetic"};
  static constexpr Spelling kSeparators[] = {{"comma", static_cast<int>(EncodeSeparator::Comma)},
                                             {"whitespace", static_cast<int>(EncodeSeparator::Whitespace)}};
  static constexpr Spelling kComponents[] = {{"replace_known", static_cast<int>(ComponentPolicy::ReplaceKnown)},
                                             {"unique_known", static_cast<int>(ComponentPolicy::UniqueKnown)}};
  static constexpr Spelling kEmpty[] = {{"skip", static_cast<int>(EmptySyllablePolicy::Skip)},
                                        {"reject", static_cast<int>(EmptySyllablePolicy::Reject)}};
  bopomofo::EncodeOptions options;
  reader.read_object("encode options", kFields, [&](std::size_t i) {
    switch (i) {
      case 0: options.separator = read_choice<EncodeSeparator>(reader, kFields[i], kSeparators); break;
      case 1: options.components = read_choice<ComponentPolicy>(reader, kFields[i], kComponents); break;
      case 2: options.empty = read_choice<EmptySyllablePolicy>(reader, kFields[i], kEmpty); break;
      default: options.require_phonetic = reader.read_bool(kFields[i]); break;
    }
  });
  return options;
}

bopomofo::DecodeOptions read_decode_options(Reader& reader) {
  static constexpr std::string_view kFields[] = {"separator", "query", "odd_tail", "omit_leading_empty"};
  static constexpr Spelling kSeparators[] = {{"comma", static_cast<int>(DecodeSeparator::Comma)},
                                             {"space", static_cast<int>(DecodeSeparator::Space)}};
  static constexpr Spelling kQueries[] = {{"canonical", static_cast<int>(QueryPolicy::Canonical)},
                                          {"printable_modulo", static_cast<int>(QueryPolicy::PrintableModulo)}};
  static constexpr Spelling kOddTails[] = {{"reject", static_cast<int>(OddTailPolicy::Reject)},
                                           {"ignore", static_cast<int>(OddTailPolicy::Ignore)}};
  bopomofo::DecodeOptions options;
  reader.read_object("decode options", kFields, [&](std::size_t i) {
    switch (i) {
      case 0: options.separator = read_choice<DecodeSeparator>(reader, kFields[i], kSeparators); break;
      case 1: options.query = read_choice<QueryPolicy>(reader, kFields[i], kQueries); break;
      case 2: options.odd_tail = read_choice<OddTailPolicy>(reader, kFields[i], kOddTails); break;
      default: options.omit_leading_empty = reader.read_bool(kFields[i]); break;
    }
  });
  return options;
}

// The first pass: only "operation", every other member skipped.
Operation read_operation(Reader& reader) {
  static constexpr std::string_view kFields[] = {"operation"};
  Operation operation = Operation::Encode;
  const FieldSet seen = reader.read_object(
      kWhat, kFields, [&](std::size_t) { operation = read_choice<Operation>(reader, kFields[0], kOperations); },
      /*ignore_unknown=*/true);
  reader.require(seen, 0b1, kFields);
  return operation;
}

// The members of either variant: "operation", its text, "options".
void read_members(Reader& reader, std::span<const std::string_view> fields, std::string& text, auto& options,
                  auto read_options) {
  const FieldSet seen = reader.read_object(kWhat, fields, [&](std::size_t i) {
    switch (i) {
      case 0: reader.read_enum(fields[0], kOperations); break;
      case 1: text = reader.read_string(fields[1]); break;
      default: options = read_options(reader); break;
    }
  });
  reader.require(seen, 0b011, fields);
}

ReadingCodecOperation read_codec_request(Reader& reader, Operation operation) {
  if (operation == Operation::Encode) {
    static constexpr std::string_view kFields[] = {"operation", "reading", "options"};
    EncodeRequest request;
    read_members(reader, kFields, request.reading, request.options, read_encode_options);
    return request;
  }
  static constexpr std::string_view kFields[] = {"operation", "qstring", "options"};
  DecodeRequest request;
  read_members(reader, kFields, request.qstring, request.options, read_decode_options);
  return request;
}

}  // namespace

Checked<ReadingCodecOperation> parse_reading_codec_request(std::string_view text) {
  // The option fields depend on the operation, which may come after
  // "options" in the document; a first pass finds it.
  const Checked<Operation> operation = parse_document(text, kPrefix, read_operation);
  if (!operation) return std::unexpected(operation.error());
  return parse_document(text, kPrefix, [&](Reader& reader) { return read_codec_request(reader, *operation); });
}

Checked<bopomofo::ReadingConversion> run_reading_codec(const ReadingCodecOperation& operation) {
  const bopomofo::CodecResult<bopomofo::ReadingConversion> conversion = std::visit(
      [](const auto& request) -> bopomofo::CodecResult<bopomofo::ReadingConversion> {
        if constexpr (std::is_same_v<std::decay_t<decltype(request)>, EncodeRequest>) {
          return bopomofo::encode_reading(request.reading, request.options);
        } else {
          return bopomofo::decode_qstring(request.qstring, request.options);
        }
      },
      operation);
  if (!conversion) return invalid_argument(conversion.error().message());
  return *conversion;
}

std::expected<std::string, std::string> write_reading_codec_result(const bopomofo::ReadingConversion& conversion) {
  json::Writer writer;
  writer.begin_object()
      .key("schema_version").unsigned_number(1)
      .key("kind").string("reading_codec")
      .key("qstring").string(conversion.qstring)
      .key("reading").string(conversion.reading)
      .key("syllable_count").unsigned_number(conversion.syllable_count)
      .end_object();
  return writer.take();
}

}  // namespace ferrolune::ffi
