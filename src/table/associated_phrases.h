// Associated phrases: the texts that may follow a head character, grouped
// into named collections. Both tables are optional in a model, so each
// request first checks the table it reads.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/error.h"
#include "model/model_database.h"

namespace ferrolune::table {

inline constexpr std::string_view kCollectionsByDisplaySql =
    "SELECT source, display, sortorder FROM collection_names ORDER BY sortorder, display, rowid";
inline constexpr std::string_view kCollectionsBySourceSql =
    "SELECT source, display, sortorder FROM collection_names ORDER BY sortorder, source, rowid";
inline constexpr std::string_view kAssociatedPhrasesSql =
    "SELECT source, data FROM associated_phrases WHERE headchar = ?1 AND source = ?2 ORDER BY rowid";

struct AssociatedCollection {
  std::string source;
  std::string display;
  std::int64_t sort_order = 0;
  friend bool operator==(const AssociatedCollection&, const AssociatedCollection&) = default;
};

// Collections sort by sortorder, then by this column, then by rowid.
enum class CollectionOrder : std::uint8_t { Display, Source };

// Every row of collection_names. A non-integer sortorder is InvalidData
// "associated sortorder must contain a SQLite integer".
model::ModelResult<std::vector<AssociatedCollection>> query_collections(
    const model::ModelDatabase& model, CollectionOrder order);

// The continuations of `head` from the named collections, in priority
// order: each collection's data is split at every comma and each piece not
// yet in the answer is appended (an empty piece stands for the head itself
// and is left out with `omit_empty_suffixes`). A name given twice counts
// once; a collection without data for the head contributes nothing. An
// empty list of names is answered without reading the model.
model::ModelResult<std::vector<std::string>> query_associated_phrases(
    const model::ModelDatabase& model, std::string_view head,
    const std::vector<std::string>& collections, bool omit_empty_suffixes);

}  // namespace ferrolune::table
