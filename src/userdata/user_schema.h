// The user database schema: creating it, proving that a file holds it
// before anything is written, and reading the metadata row.
//
// A user database of this version carries application id 0x46524C4E
// ("FRLN") and user version 1, exactly the five tables below with their
// columns, declared types and unique identities, no views or triggers,
// and one metadata row with non-negative generation and revision counters.
// Failures are ModelErrors: InvalidSchema for a file that is not such a
// database, InvalidData for a bad metadata row, QueryFailed for SQLite
// failures, InvalidInput for a file that holds the shared model.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "model/error.h"
#include "model/sqlite.h"

namespace ferrolune::userdata {

inline constexpr std::int64_t kUserApplicationId = 1179798606;
inline constexpr std::int64_t kUserSchemaVersion = 1;

// The schema, run as one batch when a database is created.
inline constexpr const char* kUserSchemaScript = R"sql(
CREATE TABLE ferrolune_metadata (
    id INTEGER PRIMARY KEY CHECK(id=1),
    generation INTEGER NOT NULL CHECK(generation>=0),
    revision INTEGER NOT NULL CHECK(revision>=0)
);
INSERT INTO ferrolune_metadata VALUES(1,0,0);
CREATE TABLE user_unigrams (
    qstring TEXT NOT NULL,
    current TEXT NOT NULL,
    probability REAL NOT NULL,
    backoff REAL NOT NULL,
    UNIQUE(qstring,current)
);
CREATE TABLE user_candidate_override_cache (
    qstring TEXT NOT NULL UNIQUE,
    current TEXT NOT NULL
);
CREATE TABLE user_bigram_cache (
    qstring TEXT NOT NULL UNIQUE,
    previous TEXT NOT NULL,
    current TEXT NOT NULL,
    probability REAL NOT NULL
);
CREATE TABLE table_learning (
    method TEXT NOT NULL,
    code TEXT NOT NULL,
    current TEXT NOT NULL,
    count INTEGER NOT NULL CHECK(count>0),
    UNIQUE(method,code,current)
);
)sql";

// The counters of the metadata row: resets of learning, and changes.
struct UserMetadata {
  std::int64_t generation = 0;
  std::int64_t revision = 0;
  friend bool operator==(const UserMetadata&, const UserMetadata&) = default;
};

// Creates the tables, the metadata row and the marks in one immediate
// transaction; on failure it is rolled back and nothing remains.
model::ModelResult<void> create_user_schema(const model::Connection& connection);

// InvalidInput "shared/model database cannot be used as writable user data"
// when the database holds one of the model's tables (any letter case).
model::ModelResult<void> reject_model_as_user_data(const model::Connection& connection);

// Checks that `table` exists (any letter case), has exactly `columns` in
// order and has a rowid.
model::ModelResult<void> check_user_table(const model::Connection& connection,
                                          std::string_view table,
                                          std::span<const std::string_view> columns);

// Every check of the schema in a fixed order, stopping at the first
// failure, then the metadata row.
model::ModelResult<UserMetadata> validate_user_database(const model::Connection& connection);

// The single metadata row; InvalidData "invalid user metadata" unless there
// is exactly one row and both counters are non-negative.
model::ModelResult<UserMetadata> read_user_metadata(const model::Connection& connection);

}  // namespace ferrolune::userdata
