// The stand-alone model query: a numeric kind and a key in, the raw rows
// of that key as one JSON document out:
//
//   {"schema_version":1,"kind":"cangjie","key":"a","rows":["日","曰"]}
//
// Kinds 1 to 3 answer the `value` strings of the Bopomofo, Cangjie and
// Simplex tables; kind 4 unigram objects (qstring, current, probability,
// backoff) and kind 5 bigram objects (qstring, previous, current,
// probability). Numbers are written in shortest round-trip form.
#pragma once

#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "model/error.h"
#include "model/model_database.h"
#include "model/records.h"

namespace ferrolune::ffi {

enum class ModelQueryKind : std::uint32_t {
  Traditional = 1,
  Cangjie = 2,
  Simplex = 3,
  Unigrams = 4,
  Bigrams = 5,
};

// The kind a caller's number stands for; nullopt for any other number.
std::optional<ModelQueryKind> model_query_kind(std::uint32_t number) noexcept;
// "traditional", "cangjie", "simplex", "unigrams" or "bigrams".
std::string_view model_query_kind_name(ModelQueryKind kind) noexcept;

using ModelRows =
    std::variant<std::vector<std::string>, std::vector<model::Unigram>, std::vector<model::Bigram>>;

model::ModelResult<ModelRows> run_model_query(const model::ModelDatabase& model, ModelQueryKind kind,
                                              std::string_view key);

std::size_t row_count(const ModelRows& rows) noexcept;

// The answer document, or the writer's description of why it could not be
// written (for example a non-finite number).
std::expected<std::string, std::string> write_model_rows(ModelQueryKind kind, std::string_view key,
                                                         const ModelRows& rows);

}  // namespace ferrolune::ffi
