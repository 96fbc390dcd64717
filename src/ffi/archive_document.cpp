#include "ffi/archive_document.h"


namespace ferrolune::ffi {

namespace {

using json::FieldSet;
using json::Reader;

userdata::CandidateOverride read_override(Reader& reader) {
  static constexpr std::string_view kFields[] = {"qstring", "current"};
  userdata::CandidateOverride value;
  const FieldSet seen = reader.read_object("candidate override", kFields, [&](std::size_t i) {
    (i == 0 ? value.qstring : value.current) = reader.read_string(kFields[i]);
  });
  reader.require(seen, 0b11, kFields);
  return value;
}

model::Bigram read_bigram(Reader& reader) {
  static constexpr std::string_view kFields[] = {"qstring", "previous", "current", "probability"};
  model::Bigram value;
  const FieldSet seen = reader.read_object("bigram", kFields, [&](std::size_t i) {
    switch (i) {
      case 0: value.qstring = reader.read_string("qstring"); break;
      case 1: value.previous = reader.read_string("previous"); break;
      case 2: value.current = reader.read_string("current"); break;
      default: value.probability = reader.read_number("probability"); break;
    }
  });
  reader.require(seen, 0b1111, kFields);
  return value;
}

userdata::SmartLearning read_smart_learning(Reader& reader) {
  static constexpr std::string_view kFields[] = {"overrides", "bigrams"};
  userdata::SmartLearning value;
  const FieldSet seen = reader.read_object("smart learning", kFields, [&](std::size_t i) {
    if (i == 0) {
      reader.read_array("overrides", [&](std::size_t) { value.overrides.push_back(read_override(reader)); });
    } else {
      reader.read_array("bigrams", [&](std::size_t) { value.bigrams.push_back(read_bigram(reader)); });
    }
  });
  reader.require(seen, 0b11, kFields);
  return value;
}

userdata::TableLearning read_table_learning(Reader& reader) {
  static constexpr std::string_view kFields[] = {"method", "code", "current", "count"};
  userdata::TableLearning value;
  const FieldSet seen = reader.read_object("table learning", kFields, [&](std::size_t i) {
    switch (i) {
      case 0: value.method = reader.read_string("method"); break;
      case 1: value.code = reader.read_string("code"); break;
      case 2: value.current = reader.read_string("current"); break;
      default: value.count = reader.read_i64("count"); break;
    }
  });
  reader.require(seen, 0b1111, kFields);
  return value;
}

}  // namespace

model::Unigram read_unigram(Reader& reader) {
  static constexpr std::string_view kFields[] = {"qstring", "current", "probability", "backoff"};
  model::Unigram unigram;
  const FieldSet seen = reader.read_object("unigram", kFields, [&](std::size_t i) {
    switch (i) {
      case 0: unigram.qstring = reader.read_string("qstring"); break;
      case 1: unigram.current = reader.read_string("current"); break;
      case 2: unigram.probability = reader.read_number("probability"); break;
      default: unigram.backoff = reader.read_number("backoff"); break;
    }
  });
  reader.require(seen, 0b1111, kFields);
  return unigram;
}

userdata::UserArchive read_user_archive(Reader& reader) {
  static constexpr std::string_view kFields[] = {"format", "schema_version", "phrases", "smart",
                                                 "table"};
  static constexpr json::Spelling kFormats[] = {{"ferrolune_user_data", 0}};
  userdata::UserArchive archive;
  const FieldSet seen = reader.read_object("user archive", kFields, [&](std::size_t i) {
    switch (i) {
      case 0: reader.read_enum("format", kFormats); break;
      case 1: archive.schema_version = reader.read_i64("schema_version"); break;
      case 2:
        reader.read_array("phrases", [&](std::size_t) { archive.phrases.push_back(read_unigram(reader)); });
        break;
      case 3:
        if (!reader.take_null()) archive.smart = read_smart_learning(reader);
        break;
      default:
        if (!reader.take_null()) {
          archive.table.emplace();
          reader.read_array("table", [&](std::size_t) { archive.table->push_back(read_table_learning(reader)); });
        }
        break;
    }
  });
  reader.require(seen, 0b111, kFields);
  return archive;
}

Checked<userdata::UserArchive> parse_user_archive(std::string_view text) {
  return parse_document(text, "invalid user archive: ", [](Reader& reader) { return read_user_archive(reader); });
}

}  // namespace ferrolune::ffi
