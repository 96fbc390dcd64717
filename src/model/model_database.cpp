#include "model/model_database.h"

#include <sys/stat.h>

#include <cerrno>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "base/utf8.h"

namespace ferrolune::model {
namespace {

constexpr std::string_view kTableTypeLookup = "SELECT type FROM sqlite_master WHERE name = ?1";
constexpr std::string_view kColumnNamesLookup = "SELECT name FROM pragma_table_info(?1)";

// SQLite's text for `rc`: the connection's message when it describes this
// failure, the generic text of the code otherwise (some failures, such as
// an oversized statement refused by our wrapper, never reach the
// connection).
std::string sqlite_error_text(const Connection& connection, int rc) {
  if (connection && sqlite3_errcode(connection.get()) == rc) return connection.error_text();
  return sqlite3_errstr(rc);
}

std::string os_error_text(int error_number) {
  return std::error_code(error_number, std::generic_category()).message();
}

bool shadows_rowid(std::string_view name) {
  std::string folded(name);
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return folded == "rowid" || folded == "_rowid_" || folded == "oid";
}

std::unexpected<ModelError> schema_failure(std::string detail) {
  return model_failure(ModelErrorKind::InvalidSchema, std::move(detail));
}

// Prepares a one-parameter lookup of the schema with `table` bound.
ModelResult<Statement> prepare_schema_lookup(const Connection& connection, std::string_view sql,
                                             std::string_view table) {
  Statement statement;
  if (const int rc = statement.prepare(connection, sql); rc != SQLITE_OK) {
    return schema_failure(sqlite_error_text(connection, rc));
  }
  if (const int rc = statement.bind_text(1, table); rc != SQLITE_OK) {
    return schema_failure(sqlite_error_text(connection, rc));
  }
  return statement;
}

ModelResult<void> check_column_index(const Statement& statement, int column) {
  if (column < 0 || column >= statement.column_count()) {
    return model_failure(ModelErrorKind::QueryFailed,
                         "column index " + std::to_string(column) + " out of range");
  }
  return {};
}

}  // namespace

ModelResult<ModelDatabase> open_model_database(std::string_view path) {
  if (path.find('\0') != std::string_view::npos) {
    return model_failure(ModelErrorKind::InvalidInput, "database path must not contain NUL");
  }
  const std::string given(path);
  struct stat metadata {};
  if (::stat(given.c_str(), &metadata) != 0) {
    return model_failure(ModelErrorKind::OpenFailed, os_error_text(errno));
  }
  if (!S_ISREG(metadata.st_mode)) {
    return model_failure(ModelErrorKind::InvalidInput,
                         "database path must name an existing regular file");
  }
  std::error_code canonical_error;
  const std::filesystem::path canonical = std::filesystem::canonical(given, canonical_error);
  if (canonical_error) return model_failure(ModelErrorKind::OpenFailed, canonical_error.message());

  std::string open_error;
  Connection connection =
      Connection::open(canonical.string(), SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, open_error);
  if (!connection) return model_failure(ModelErrorKind::OpenFailed, std::move(open_error));

  // From here on every early return drops `connection`, which closes it.
  const int read_only = sqlite3_db_readonly(connection.get(), "main");
  if (read_only < 0) return model_failure(ModelErrorKind::OpenFailed, connection.error_text());
  if (read_only == 0) {
    return model_failure(ModelErrorKind::OpenFailed,
                         "SQLite did not open the main database read-only");
  }
  if (const int rc = connection.exec("PRAGMA query_only = ON;"); rc != SQLITE_OK) {
    return model_failure(ModelErrorKind::OpenFailed, sqlite_error_text(connection, rc));
  }
  if (auto verified = verify_model_schema(connection); !verified) {
    return std::unexpected(std::move(verified.error()));
  }
  return ModelDatabase(std::move(connection));
}

ModelResult<void> verify_model_schema(const Connection& connection) {
  struct RequiredTable {
    std::string_view name;
    std::string_view probe;
  };
  static constexpr RequiredTable kRequired[] = {
      {"unigrams", kUnigramsProbe},         {"bigrams", kBigramsProbe},
      {"Mandarin-bpmf-cin", kBopomofoProbe}, {"Generic-cj-cin", kCangjieProbe},
      {"Generic-simplex-cin", kSimplexProbe},
  };
  for (const RequiredTable& table : kRequired) {
    if (auto checked = check_model_table(connection, table.name, table.probe); !checked) {
      return checked;
    }
  }
  return {};
}

ModelResult<void> check_model_table(const Connection& connection, std::string_view table,
                                    std::string_view probe_sql) {
  const std::string missing =
      "required table " + std::string(table) + " is missing or is not a table";
  {
    auto lookup = prepare_schema_lookup(connection, kTableTypeLookup, table);
    if (!lookup) return std::unexpected(std::move(lookup.error()));
    const int rc = lookup->step();
    if (rc == SQLITE_DONE) return schema_failure(missing);
    if (rc != SQLITE_ROW) return schema_failure(sqlite_error_text(connection, rc));
    if (lookup->column_type(0) != SQLITE_TEXT || lookup->column_text(0) != "table") {
      return schema_failure(missing);
    }
  }
  {
    Statement probe;
    if (const int rc = probe.prepare(connection, probe_sql); rc != SQLITE_OK) {
      return schema_failure(std::string(table) + ": " + sqlite_error_text(connection, rc));
    }
  }
  auto columns = prepare_schema_lookup(connection, kColumnNamesLookup, table);
  if (!columns) return std::unexpected(std::move(columns.error()));
  for (;;) {
    const int rc = columns->step();
    if (rc == SQLITE_DONE) return {};
    if (rc != SQLITE_ROW) return schema_failure(sqlite_error_text(connection, rc));
    if (shadows_rowid(columns->column_text(0))) {
      return schema_failure(std::string(table) + " must not shadow SQLite rowid");
    }
  }
}

ModelResult<Statement> prepare_model_query(const Connection& connection, std::string_view sql,
                                           std::string_view key) {
  Statement statement;
  if (const int rc = statement.prepare(connection, sql); rc != SQLITE_OK) {
    return model_failure(ModelErrorKind::QueryFailed, sqlite_error_text(connection, rc));
  }
  if (const int count = statement.parameter_count(); count != 1) {
    return model_failure(ModelErrorKind::QueryFailed,
                         "wrong number of parameters: the statement takes " +
                             std::to_string(count) + ", 1 was given");
  }
  if (const int rc = statement.bind_text(1, key); rc != SQLITE_OK) {
    return model_failure(ModelErrorKind::QueryFailed, sqlite_error_text(connection, rc));
  }
  return statement;
}

std::unexpected<ModelError> model_query_failure(const Connection& connection) {
  return model_failure(ModelErrorKind::QueryFailed, connection.error_text());
}

ModelResult<std::string> read_model_text(const Statement& statement, int column,
                                         std::string_view label) {
  if (auto in_range = check_column_index(statement, column); !in_range) {
    return std::unexpected(std::move(in_range.error()));
  }
  if (statement.column_type(column) != SQLITE_TEXT) {
    return model_failure(ModelErrorKind::InvalidData,
                         std::string(label) + " must contain SQLite TEXT");
  }
  const std::string_view bytes = statement.column_text(column);
  if (!base::is_valid_utf8(bytes)) {
    return model_failure(ModelErrorKind::InvalidData, std::string(label) + " is not valid UTF-8");
  }
  return std::string(bytes);
}

ModelResult<double> read_model_number(const Statement& statement, int column,
                                      std::string_view label) {
  if (auto in_range = check_column_index(statement, column); !in_range) {
    return std::unexpected(std::move(in_range.error()));
  }
  double value = 0.0;
  switch (statement.column_type(column)) {
    case SQLITE_INTEGER:
      value = static_cast<double>(statement.column_int64(column));
      break;
    case SQLITE_FLOAT:
      value = statement.column_double(column);
      break;
    default:
      return model_failure(ModelErrorKind::InvalidData,
                           std::string(label) + " must contain a SQLite number");
  }
  if (!std::isfinite(value)) {
    return model_failure(ModelErrorKind::InvalidData,
                         std::string(label) + " must contain a finite number");
  }
  return value;
}

}  // namespace ferrolune::model
