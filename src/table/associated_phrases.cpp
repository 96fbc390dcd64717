#include "table/associated_phrases.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace ferrolune::table {
namespace {

using model::ModelErrorKind;
using model::ModelResult;
using model::Statement;

bool contains_nul(std::string_view text) { return text.find('\0') != std::string_view::npos; }

ModelResult<AssociatedCollection> read_collection(const Statement& statement) {
  auto source = model::read_model_text(statement, 0, "associated source");
  if (!source) return std::unexpected(std::move(source.error()));
  auto display = model::read_model_text(statement, 1, "associated display");
  if (!display) return std::unexpected(std::move(display.error()));
  if (statement.column_type(2) != SQLITE_INTEGER) {
    return model::model_failure(ModelErrorKind::InvalidData,
                                "associated sortorder must contain a SQLite integer");
  }
  return AssociatedCollection{std::move(*source), std::move(*display), statement.column_int64(2)};
}

// The data of every queried collection that has rows for the head; the
// last row of a collection wins.
ModelResult<std::unordered_map<std::string, std::string>> read_collection_data(
    const model::Connection& connection, std::string_view head,
    const std::vector<std::string>& collections) {
  Statement statement;
  if (statement.prepare(connection, kAssociatedPhrasesSql) != SQLITE_OK) {
    return model::model_query_failure(connection);
  }
  std::unordered_map<std::string, std::string> data;
  std::unordered_set<std::string_view> queried;
  for (const std::string& name : collections) {
    if (!queried.insert(name).second) continue;
    if (statement.reset() != SQLITE_OK || statement.bind_text(1, head) != SQLITE_OK ||
        statement.bind_text(2, name) != SQLITE_OK) {
      return model::model_query_failure(connection);
    }
    for (;;) {
      const int rc = statement.step();
      if (rc == SQLITE_DONE) break;
      if (rc != SQLITE_ROW) return model::model_query_failure(connection);
      auto source = model::read_model_text(statement, 0, "associated source");
      if (!source) return std::unexpected(std::move(source.error()));
      auto text = model::read_model_text(statement, 1, "associated data");
      if (!text) return std::unexpected(std::move(text.error()));
      data.insert_or_assign(std::move(*source), std::move(*text));
    }
  }
  return data;
}

}  // namespace

ModelResult<std::vector<AssociatedCollection>> query_collections(const model::ModelDatabase& model,
                                                                 CollectionOrder order) {
  const model::Connection& connection = model.connection();
  if (auto checked = model::check_model_table(connection, "collection_names",
                                              model::kCollectionNamesProbe);
      !checked) {
    return std::unexpected(std::move(checked.error()));
  }
  Statement statement;
  const std::string_view sql =
      order == CollectionOrder::Source ? kCollectionsBySourceSql : kCollectionsByDisplaySql;
  if (statement.prepare(connection, sql) != SQLITE_OK) return model::model_query_failure(connection);
  std::vector<AssociatedCollection> collections;
  for (;;) {
    const int rc = statement.step();
    if (rc == SQLITE_DONE) return collections;
    if (rc != SQLITE_ROW) return model::model_query_failure(connection);
    auto collection = read_collection(statement);
    if (!collection) return std::unexpected(std::move(collection.error()));
    collections.push_back(std::move(*collection));
  }
}

ModelResult<std::vector<std::string>> query_associated_phrases(
    const model::ModelDatabase& model, std::string_view head,
    const std::vector<std::string>& collections, bool omit_empty_suffixes) {
  if (contains_nul(head) ||
      std::any_of(collections.begin(), collections.end(),
                  [](const std::string& name) { return contains_nul(name); })) {
    return model::model_failure(ModelErrorKind::InvalidInput,
                                "associated phrase inputs must not contain NUL");
  }
  if (collections.empty()) return std::vector<std::string>{};
  const model::Connection& connection = model.connection();
  if (auto checked = model::check_model_table(connection, "associated_phrases",
                                              model::kAssociatedPhrasesProbe);
      !checked) {
    return std::unexpected(std::move(checked.error()));
  }
  auto data = read_collection_data(connection, head, collections);
  if (!data) return std::unexpected(std::move(data.error()));

  std::vector<std::string> phrases;
  std::unordered_set<std::string> present;
  std::unordered_set<std::string_view> walked;
  for (const std::string& name : collections) {
    if (!walked.insert(name).second) continue;
    const auto entry = data->find(name);
    if (entry == data->end()) continue;
    const std::string_view text = entry->second;
    std::size_t start = 0;
    for (;;) {
      const std::size_t comma = text.find(',', start);
      const std::string_view piece =
          text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
      if (!(omit_empty_suffixes && piece.empty()) && present.emplace(piece).second) {
        phrases.emplace_back(piece);
      }
      if (comma == std::string_view::npos) break;
      start = comma + 1;
    }
  }
  return phrases;
}

}  // namespace ferrolune::table
