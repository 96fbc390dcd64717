// The two associated-phrase requests and their answers.
//
//   collections: {"order": "display" | "source"}   (order optional, default "display")
//     -> {"schema_version":1,"kind":"associated_collections","key":"",
//         "rows":[{"source":..,"display":..,"sort_order":..}, ...]}
//   phrases: {"head": "日", "collections": ["a", "b"], "omit_empty_suffixes": false}
//     -> {"schema_version":1,"kind":"associated_phrases","key":"日","rows":["..", ...]}
//
// Requests are read strictly: unknown and duplicate members are refused,
// `head` and `collections` are required, and a null optional member means
// its default.
#pragma once

#include <expected>
#include <string>
#include <string_view>
#include <vector>

#include "ffi/frame.h"
#include "ffi/json/reader.h"
#include "table/associated_phrases.h"

namespace ferrolune::ffi {

struct AssociatedCollectionsRequest {
  table::CollectionOrder order = table::CollectionOrder::Display;
};

struct AssociatedPhraseRequest {
  std::string head;
  std::vector<std::string> collections;
  bool omit_empty_suffixes = false;
};

AssociatedCollectionsRequest read_associated_collections_request(json::Reader& reader);
AssociatedPhraseRequest read_associated_phrase_request(json::Reader& reader);

// Decoded request text to a request; a failure is status 1 with
// "invalid associated collection request: " or "invalid associated phrase
// request: " and the reader's description.
Checked<AssociatedCollectionsRequest> parse_associated_collections_request(std::string_view text);
Checked<AssociatedPhraseRequest> parse_associated_phrase_request(std::string_view text);

std::expected<std::string, std::string> write_associated_collections(
    const std::vector<table::AssociatedCollection>& collections);
std::expected<std::string, std::string> write_associated_phrases(
    std::string_view head, const std::vector<std::string>& phrases);

}  // namespace ferrolune::ffi
