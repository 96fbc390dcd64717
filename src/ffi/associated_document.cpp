#include "ffi/associated_document.h"

#include "ffi/json/writer.h"

namespace ferrolune::ffi {
namespace {

using json::FieldSet;
using json::Reader;

constexpr std::uint64_t kSchemaVersion = 1;

constexpr json::Spelling kOrderSpellings[] = {
    {"display", static_cast<int>(table::CollectionOrder::Display)},
    {"source", static_cast<int>(table::CollectionOrder::Source)},
};

void write_header(json::Writer& writer, std::string_view kind, std::string_view key) {
  writer.key("schema_version").unsigned_number(kSchemaVersion);
  writer.key("kind").string(kind);
  writer.key("key").string(key);
}

}  // namespace

AssociatedCollectionsRequest read_associated_collections_request(Reader& reader) {
  static constexpr std::string_view kFields[] = {"order"};
  AssociatedCollectionsRequest request;
  reader.read_object("associated collection request", kFields, [&](std::size_t) {
    if (reader.take_null()) return;
    request.order = static_cast<table::CollectionOrder>(reader.read_enum("order", kOrderSpellings));
  });
  return request;
}

AssociatedPhraseRequest read_associated_phrase_request(Reader& reader) {
  static constexpr std::string_view kFields[] = {"head", "collections", "omit_empty_suffixes"};
  AssociatedPhraseRequest request;
  const FieldSet seen = reader.read_object("associated phrase request", kFields, [&](std::size_t i) {
    switch (i) {
      case 0:
        request.head = reader.read_string("head");
        break;
      case 1:
        reader.read_array("collections", [&](std::size_t) {
          request.collections.push_back(reader.read_string("collection name"));
        });
        break;
      default:
        if (!reader.take_null()) request.omit_empty_suffixes = reader.read_bool("omit_empty_suffixes");
        break;
    }
  });
  reader.require(seen, 0b011, kFields);
  return request;
}

Checked<AssociatedCollectionsRequest> parse_associated_collections_request(std::string_view text) {
  return parse_document(text, "invalid associated collection request: ",
                        read_associated_collections_request);
}

Checked<AssociatedPhraseRequest> parse_associated_phrase_request(std::string_view text) {
  return parse_document(text, "invalid associated phrase request: ", read_associated_phrase_request);
}

std::expected<std::string, std::string> write_associated_collections(
    const std::vector<table::AssociatedCollection>& collections) {
  json::Writer writer;
  writer.begin_object();
  write_header(writer, "associated_collections", "");
  writer.key("rows").begin_array();
  for (const table::AssociatedCollection& collection : collections) {
    writer.begin_object();
    writer.key("source").string(collection.source);
    writer.key("display").string(collection.display);
    writer.key("sort_order").signed_number(collection.sort_order);
    writer.end_object();
  }
  writer.end_array();
  writer.end_object();
  return writer.take();
}

std::expected<std::string, std::string> write_associated_phrases(
    std::string_view head, const std::vector<std::string>& phrases) {
  json::Writer writer;
  writer.begin_object();
  write_header(writer, "associated_phrases", head);
  writer.key("rows").begin_array();
  for (const std::string& phrase : phrases) writer.string(phrase);
  writer.end_array();
  writer.end_object();
  return writer.take();
}

}  // namespace ferrolune::ffi
