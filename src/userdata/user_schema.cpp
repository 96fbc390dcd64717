#include "userdata/user_schema.h"

#include <string>
#include <vector>

#include "userdata/sql_steps.h"

namespace ferrolune::userdata {

namespace {

using model::Connection;
using model::ModelErrorKind;
using model::ModelResult;
using model::model_failure;

constexpr std::string_view kTableExistsSql =
    "SELECT EXISTS(SELECT 1 FROM sqlite_master WHERE type='table' AND name=?1 COLLATE NOCASE)";
constexpr std::string_view kColumnNamesSql = "SELECT name FROM pragma_table_info(?1) ORDER BY cid";
constexpr std::string_view kColumnTypesSql = "SELECT type FROM pragma_table_info(?1) ORDER BY cid";
constexpr std::string_view kUniqueIndexesSql =
    "SELECT name FROM pragma_index_list(?1) WHERE \"unique\"=1";
constexpr std::string_view kIndexColumnsSql =
    "SELECT name FROM pragma_index_info(?1) ORDER BY seqno";
constexpr std::string_view kTableNamesSql =
    "SELECT name FROM sqlite_master WHERE type='table' AND name NOT LIKE 'sqlite_%' ORDER BY name";
constexpr std::string_view kViewTriggerCountSql =
    "SELECT count(*) FROM sqlite_master WHERE type IN ('view','trigger')";
constexpr std::string_view kMetadataSql =
    "SELECT generation,revision,(SELECT count(*) FROM ferrolune_metadata) FROM ferrolune_metadata "
    "WHERE id=1";
constexpr std::string_view kApplicationIdSql = "PRAGMA application_id";
constexpr std::string_view kUserVersionSql = "PRAGMA user_version";
constexpr const char* kSetMarksSql = "PRAGMA application_id = 1179798606; PRAGMA user_version = 1;";

constexpr std::string_view kModelTables[] = {"unigrams", "bigrams", "Mandarin-bpmf-cin",
                                             "Generic-cj-cin"};

constexpr std::string_view kMetadataColumns[] = {"id", "generation", "revision"};
constexpr std::string_view kPhraseColumns[] = {"qstring", "current", "probability", "backoff"};
constexpr std::string_view kOverrideColumns[] = {"qstring", "current"};
constexpr std::string_view kBigramColumns[] = {"qstring", "previous", "current", "probability"};
constexpr std::string_view kTableLearningColumns[] = {"method", "code", "current", "count"};

struct LearningTable {
  std::string_view name;
  std::span<const std::string_view> columns;
  std::vector<std::string_view> types;
  std::vector<std::string_view> identity;
};

const std::vector<LearningTable>& learning_tables() {
  static const std::vector<LearningTable> tables = {
      {"user_unigrams", kPhraseColumns, {"TEXT", "TEXT", "REAL", "REAL"}, {"qstring", "current"}},
      {"user_candidate_override_cache", kOverrideColumns, {"TEXT", "TEXT"}, {"qstring"}},
      {"user_bigram_cache", kBigramColumns, {"TEXT", "TEXT", "TEXT", "REAL"}, {"qstring"}},
      {"table_learning",
       kTableLearningColumns,
       {"TEXT", "TEXT", "TEXT", "INTEGER"},
       {"method", "code", "current"}},
  };
  return tables;
}

std::unexpected<model::ModelError> schema_failure(std::string detail) {
  return model_failure(ModelErrorKind::InvalidSchema, std::move(detail));
}

// The first column of every row, as text.
template <class... Values>
ModelResult<std::vector<std::string>> text_column(const Connection& connection,
                                                  std::string_view query, const Values&... values) {
  auto statement = sql::prepare(connection, query, values...);
  if (!statement) return std::unexpected(statement.error());
  std::vector<std::string> texts;
  for (;;) {
    auto row = sql::step(*statement, connection);
    if (!row) return std::unexpected(row.error());
    if (!*row) return texts;
    texts.emplace_back(statement->column_text(0));
  }
}

// The first column of the first row, which must be an integer.
template <class... Values>
ModelResult<std::int64_t> integer_value(const Connection& connection, std::string_view query,
                                        const Values&... values) {
  auto statement = sql::prepare(connection, query, values...);
  if (!statement) return std::unexpected(statement.error());
  auto row = sql::step(*statement, connection);
  if (!row) return std::unexpected(row.error());
  if (!*row) {
    return model_failure(ModelErrorKind::QueryFailed, "query returned no rows");
  }
  if (statement->column_type(0) != SQLITE_INTEGER) {
    return model_failure(ModelErrorKind::QueryFailed, "query returned a value that is not an integer");
  }
  return statement->column_int64(0);
}

template <class Names>
bool same_names(const std::vector<std::string>& actual, const Names& expected) {
  if (actual.size() != std::size(expected)) return false;
  std::size_t index = 0;
  for (const auto& name : expected) {
    if (actual[index++] != name) return false;
  }
  return true;
}

ModelResult<void> check_unique_identity(const Connection& connection, const LearningTable& table) {
  auto indexes = text_column(connection, kUniqueIndexesSql, table.name);
  if (!indexes) return std::unexpected(indexes.error());
  for (const auto& index : *indexes) {
    auto columns = text_column(connection, kIndexColumnsSql, index);
    if (!columns) return std::unexpected(columns.error());
    if (same_names(*columns, table.identity)) return {};
  }
  return schema_failure("missing unique identity for " + std::string(table.name));
}

}  // namespace

ModelResult<void> create_user_schema(const Connection& connection) {
  model::Transaction transaction;
  if (transaction.begin(connection, "BEGIN IMMEDIATE") != SQLITE_OK) {
    return sql::query_failed(connection);
  }
  if (auto created = sql::execute(connection, kUserSchemaScript); !created) return created;
  if (auto marked = sql::execute(connection, kSetMarksSql); !marked) return marked;
  if (transaction.commit() != SQLITE_OK) return sql::query_failed(connection);
  return {};
}

ModelResult<void> reject_model_as_user_data(const Connection& connection) {
  for (const auto table : kModelTables) {
    auto exists = integer_value(connection, kTableExistsSql, table);
    if (!exists) return std::unexpected(exists.error());
    if (*exists != 0) {
      return model_failure(ModelErrorKind::InvalidInput,
                           "shared/model database cannot be used as writable user data");
    }
  }
  return {};
}

ModelResult<void> check_user_table(const Connection& connection, std::string_view table,
                                   std::span<const std::string_view> columns) {
  auto exists = integer_value(connection, kTableExistsSql, table);
  if (!exists) return std::unexpected(exists.error());
  if (*exists == 0) return schema_failure("missing user table " + std::string(table));

  auto names = text_column(connection, kColumnNamesSql, table);
  if (!names) return std::unexpected(names.error());
  if (!same_names(*names, columns)) {
    return schema_failure("unexpected columns in " + std::string(table));
  }

  // A WITHOUT ROWID table cannot keep the insertion order the caches rely on.
  model::Statement probe;
  if (probe.prepare(connection, "SELECT rowid FROM \"" + std::string(table) + "\" WHERE 0") !=
      SQLITE_OK) {
    return schema_failure(connection.error_text());
  }
  return {};
}

ModelResult<UserMetadata> validate_user_database(const Connection& connection) {
  auto application_id = integer_value(connection, kApplicationIdSql);
  if (!application_id) return std::unexpected(application_id.error());
  auto user_version = integer_value(connection, kUserVersionSql);
  if (!user_version) return std::unexpected(user_version.error());
  if (*application_id != kUserApplicationId || *user_version != kUserSchemaVersion) {
    return schema_failure("not a supported Ferrolune user database; import legacy data explicitly");
  }

  if (auto checked = check_user_table(connection, "ferrolune_metadata", kMetadataColumns);
      !checked) {
    return std::unexpected(checked.error());
  }
  for (const auto& table : learning_tables()) {
    if (auto checked = check_user_table(connection, table.name, table.columns); !checked) {
      return std::unexpected(checked.error());
    }
  }

  auto tables = text_column(connection, kTableNamesSql);
  if (!tables) return std::unexpected(tables.error());
  constexpr std::string_view kExpectedTables[] = {"ferrolune_metadata", "table_learning",
                                                  "user_bigram_cache",
                                                  "user_candidate_override_cache", "user_unigrams"};
  if (!same_names(*tables, kExpectedTables)) {
    return schema_failure("unexpected user database tables");
  }

  auto views_and_triggers = integer_value(connection, kViewTriggerCountSql);
  if (!views_and_triggers) return std::unexpected(views_and_triggers.error());
  if (*views_and_triggers != 0) {
    return schema_failure("user database must not contain views or triggers");
  }

  for (const auto& table : learning_tables()) {
    auto types = text_column(connection, kColumnTypesSql, table.name);
    if (!types) return std::unexpected(types.error());
    if (!same_names(*types, table.types)) {
      return schema_failure("unexpected types in " + std::string(table.name));
    }
    if (auto unique = check_unique_identity(connection, table); !unique) {
      return std::unexpected(unique.error());
    }
  }
  return read_user_metadata(connection);
}

ModelResult<UserMetadata> read_user_metadata(const Connection& connection) {
  auto statement = sql::prepare(connection, kMetadataSql);
  if (!statement) return std::unexpected(statement.error());
  auto row = sql::step(*statement, connection);
  if (!row) return std::unexpected(row.error());
  if (!*row) return model_failure(ModelErrorKind::QueryFailed, "user metadata row is missing");
  for (int column = 0; column < 3; ++column) {
    if (statement->column_type(column) != SQLITE_INTEGER) {
      return model_failure(ModelErrorKind::QueryFailed, "user metadata must be SQLite INTEGER");
    }
  }
  const UserMetadata metadata{statement->column_int64(0), statement->column_int64(1)};
  if (statement->column_int64(2) != 1 || metadata.generation < 0 || metadata.revision < 0) {
    return model_failure(ModelErrorKind::InvalidData, "invalid user metadata");
  }
  return metadata;
}

}  // namespace ferrolune::userdata
