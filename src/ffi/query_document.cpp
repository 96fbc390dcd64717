#include "ffi/query_document.h"

#include "ffi/json/writer.h"
#include "table/dictionary_queries.h"

namespace ferrolune::ffi {
namespace {

constexpr std::uint64_t kSchemaVersion = 1;

template <class T>
model::ModelResult<ModelRows> as_rows(model::ModelResult<T> rows) {
  if (!rows) return std::unexpected(std::move(rows.error()));
  return ModelRows(std::move(*rows));
}

void write_row(json::Writer& writer, const std::string& value) { writer.string(value); }

void write_row(json::Writer& writer, const model::Unigram& unigram) {
  writer.begin_object();
  writer.key("qstring").string(unigram.qstring);
  writer.key("current").string(unigram.current);
  writer.key("probability").number(unigram.probability);
  writer.key("backoff").number(unigram.backoff);
  writer.end_object();
}

void write_row(json::Writer& writer, const model::Bigram& bigram) {
  writer.begin_object();
  writer.key("qstring").string(bigram.qstring);
  writer.key("previous").string(bigram.previous);
  writer.key("current").string(bigram.current);
  writer.key("probability").number(bigram.probability);
  writer.end_object();
}

}  // namespace

std::optional<ModelQueryKind> model_query_kind(std::uint32_t number) noexcept {
  if (number < 1 || number > 5) return std::nullopt;
  return static_cast<ModelQueryKind>(number);
}

std::string_view model_query_kind_name(ModelQueryKind kind) noexcept {
  switch (kind) {
    case ModelQueryKind::Traditional:
      return "traditional";
    case ModelQueryKind::Cangjie:
      return "cangjie";
    case ModelQueryKind::Simplex:
      return "simplex";
    case ModelQueryKind::Unigrams:
      return "unigrams";
    case ModelQueryKind::Bigrams:
      break;
  }
  return "bigrams";
}

model::ModelResult<ModelRows> run_model_query(const model::ModelDatabase& model, ModelQueryKind kind,
                                              std::string_view key) {
  using table::DictionaryTable;
  switch (kind) {
    case ModelQueryKind::Traditional:
      return as_rows(table::query_values(model, DictionaryTable::Bopomofo, key));
    case ModelQueryKind::Cangjie:
      return as_rows(table::query_values(model, DictionaryTable::Cangjie, key));
    case ModelQueryKind::Simplex:
      return as_rows(table::query_values(model, DictionaryTable::Simplex, key));
    case ModelQueryKind::Unigrams:
      return as_rows(table::query_unigrams(model, key));
    case ModelQueryKind::Bigrams:
      break;
  }
  return as_rows(table::query_bigrams(model, key));
}

std::size_t row_count(const ModelRows& rows) noexcept {
  return std::visit([](const auto& list) { return list.size(); }, rows);
}

std::expected<std::string, std::string> write_model_rows(ModelQueryKind kind, std::string_view key,
                                                         const ModelRows& rows) {
  json::Writer writer;
  writer.begin_object();
  writer.key("schema_version").unsigned_number(kSchemaVersion);
  writer.key("kind").string(model_query_kind_name(kind));
  writer.key("key").string(key);
  writer.key("rows").begin_array();
  std::visit(
      [&](const auto& list) {
        for (const auto& row : list) write_row(writer, row);
      },
      rows);
  writer.end_array();
  writer.end_object();
  return writer.take();
}

}  // namespace ferrolune::ffi
