// The few SQLite steps every user-data routine repeats, each turning a
// failure into QueryFailed with SQLite's text. The text is taken at the
// moment of failure, before any rollback can replace it.
#pragma once

#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/error.h"
#include "model/sqlite.h"

namespace ferrolune::userdata::sql {

inline std::unexpected<model::ModelError> query_failed(const model::Connection& connection) {
  return model::model_failure(model::ModelErrorKind::QueryFailed, connection.error_text());
}

// Runs a batch of statements without results.
inline model::ModelResult<void> execute(const model::Connection& connection, const char* sql) {
  if (connection.exec(sql) != SQLITE_OK) return query_failed(connection);
  return {};
}

namespace detail {
inline int bind_one(model::Statement& statement, int index, std::string_view text) {
  return statement.bind_text(index, text);
}
inline int bind_one(model::Statement& statement, int index, std::int64_t value) {
  return statement.bind_int64(index, value);
}
inline int bind_one(model::Statement& statement, int index, double value) {
  return statement.bind_double(index, value);
}
}  // namespace detail

// Prepares `sql` and binds `values` as ?1, ?2, ... in order.
template <class... Values>
model::ModelResult<model::Statement> prepare(const model::Connection& connection,
                                             std::string_view sql, const Values&... values) {
  model::Statement statement;
  if (statement.prepare(connection, sql) != SQLITE_OK) return query_failed(connection);
  int index = 0;
  int rc = SQLITE_OK;
  ((rc = rc == SQLITE_OK ? detail::bind_one(statement, ++index, values) : rc), ...);
  if (rc != SQLITE_OK) return query_failed(connection);
  return statement;
}

// Steps once: true with a row, false when done.
inline model::ModelResult<bool> step(model::Statement& statement,
                                     const model::Connection& connection) {
  const int rc = statement.step();
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  return query_failed(connection);
}

// Prepares, binds and runs a statement that returns no rows.
template <class... Values>
model::ModelResult<void> run(const model::Connection& connection, std::string_view sql,
                             const Values&... values) {
  auto statement = prepare(connection, sql, values...);
  if (!statement) return std::unexpected(statement.error());
  for (;;) {
    auto row = step(*statement, connection);
    if (!row) return std::unexpected(row.error());
    if (!*row) return {};
  }
}

}  // namespace ferrolune::userdata::sql
