// The shared model database: opened read-only, proven to be the model the
// engine expects, and a few rules every model query follows to turn SQLite
// values and failures into ModelError kinds.
//
// A ModelDatabase exists only in the verified state: its connection was
// opened with SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, SQLite confirmed
// that "main" is read-only, "PRAGMA query_only" is on, and the five
// required tables passed check_model_table. The connection has no mutex of
// its own, so its owner must serialise every use of it.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "model/error.h"
#include "model/sqlite.h"

namespace ferrolune::model {

// Probe statements: each selects rowid and the columns the engine reads and
// returns no row. They are only prepared, never stepped.
inline constexpr std::string_view kUnigramsProbe =
    "SELECT rowid, qstring, current, probability, backoff FROM unigrams WHERE 0";
inline constexpr std::string_view kBigramsProbe =
    "SELECT rowid, qstring, previous, current, probability FROM bigrams WHERE 0";
inline constexpr std::string_view kBopomofoProbe =
    "SELECT rowid, key, value FROM \"Mandarin-bpmf-cin\" WHERE 0";
inline constexpr std::string_view kCangjieProbe =
    "SELECT rowid, key, value FROM \"Generic-cj-cin\" WHERE 0";
inline constexpr std::string_view kSimplexProbe =
    "SELECT rowid, key, value FROM \"Generic-simplex-cin\" WHERE 0";
// Associated phrases and collection names are optional in a model: their
// tables are checked before each request that reads them, not at open.
inline constexpr std::string_view kAssociatedPhrasesProbe =
    "SELECT rowid, headchar, data, source FROM associated_phrases WHERE 0";
inline constexpr std::string_view kCollectionNamesProbe =
    "SELECT rowid, source, display, sortorder FROM collection_names WHERE 0";

// The verified read-only model connection. Move-only; the connection is
// closed when the database is destroyed.
class ModelDatabase {
 public:
  ModelDatabase(ModelDatabase&&) noexcept = default;
  ModelDatabase& operator=(ModelDatabase&&) noexcept = default;
  ModelDatabase(const ModelDatabase&) = delete;
  ModelDatabase& operator=(const ModelDatabase&) = delete;

  const Connection& connection() const noexcept { return connection_; }

 private:
  // Only the opening procedure makes one, so that no unverified or
  // writable connection can pass for the model.
  explicit ModelDatabase(Connection connection) noexcept : connection_(std::move(connection)) {}
  friend ModelResult<ModelDatabase> open_model_database(std::string_view path);

  Connection connection_;
};

// Opens and verifies the model at `path` (the caller has already refused
// an empty path). Symbolic links are followed and the canonical path is
// opened. Failures: InvalidInput for a NUL in the path or a path that is
// not a regular file; OpenFailed for file-system and SQLite opening
// problems; InvalidSchema from verify_model_schema. Nothing stays open on
// failure.
ModelResult<ModelDatabase> open_model_database(std::string_view path);

// Checks unigrams, bigrams, "Mandarin-bpmf-cin", "Generic-cj-cin" and
// "Generic-simplex-cin" in that order and stops at the first failure.
ModelResult<void> verify_model_schema(const Connection& connection);

// Checks that `table` is a real table (not a view), that `probe_sql`
// prepares on it (every column read exists; failure detail "table: SQLite
// text") and that no column hides SQLite's rowid. Every failure is
// InvalidSchema.
ModelResult<void> check_model_table(const Connection& connection, std::string_view table,
                                    std::string_view probe_sql);

// Prepares a model query afresh and binds `key` as ?1 text. The statement
// must have exactly one parameter. Every failure (prepare, bind, parameter
// count) is QueryFailed with SQLite's error text.
ModelResult<Statement> prepare_model_query(const Connection& connection, std::string_view sql,
                                           std::string_view key);

// The QueryFailed error for a failed step of a model query: SQLite's
// current error text on `connection`.
std::unexpected<ModelError> model_query_failure(const Connection& connection);

// Column readers for the current row of a stepped statement. `label` names
// the value in messages ("value", "probability", "associated source").
// An out-of-range column is QueryFailed; a value of another storage class,
// invalid UTF-8 or a non-finite number is InvalidData.
ModelResult<std::string> read_model_text(const Statement& statement, int column,
                                         std::string_view label);
// INTEGER is widened to double, REAL is taken unchanged.
ModelResult<double> read_model_number(const Statement& statement, int column,
                                      std::string_view label);

}  // namespace ferrolune::model
