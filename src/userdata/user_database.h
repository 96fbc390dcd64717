// Opening user databases.
//
// A UserDatabase is either a file database that was proven to be a user
// database of this version before anything was written to it (or that was
// created empty by open_user_database itself), opened read-write without
// SQLite's mutex and with a 100 ms busy timeout; or a private in-memory
// database with a fresh schema. Its owner serialises every use of the
// connection. Failures are ModelErrors; the messages are fixed texts or the
// system's and SQLite's own.
#pragma once

#include <string_view>

#include "model/error.h"
#include "model/sqlite.h"

namespace ferrolune::userdata {

inline constexpr int kUserBusyTimeoutMilliseconds = 100;

class UserDatabase {
 public:
  UserDatabase(model::Connection connection, bool in_memory) noexcept
      : connection_(std::move(connection)), in_memory_(in_memory) {}
  UserDatabase(UserDatabase&&) noexcept = default;
  UserDatabase& operator=(UserDatabase&&) noexcept = default;
  UserDatabase(const UserDatabase&) = delete;
  UserDatabase& operator=(const UserDatabase&) = delete;

  const model::Connection& connection() const noexcept { return connection_; }
  // True for the private database of a session without a configured file.
  bool in_memory() const noexcept { return in_memory_; }

 private:
  model::Connection connection_;
  bool in_memory_ = false;
};

// InvalidInput "database path must be nonempty and contain no NUL".
model::ModelResult<void> check_database_path_text(std::string_view path);

// InvalidInput `message` when the two paths name the same file: equal
// canonical paths, or the same device and inode (so symbolic and hard links
// count). A path that cannot be resolved or examined only drops out of the
// comparison it would take part in.
model::ModelResult<void> ensure_distinct_from_model(std::string_view path,
                                                    std::string_view model_path,
                                                    std::string_view message);

// A read-only connection with "PRAGMA query_only=ON", for files that are
// only read (pre-checks and import sources). The path must name a regular
// file, following symbolic links.
model::ModelResult<model::Connection> open_source_database(std::string_view path);

// A private in-memory database with the schema.
model::ModelResult<UserDatabase> open_memory_user_database();

// Opens the user database at `path` for a session whose model is at
// `model_path`. A missing file is created exclusively (mode 0666 before the
// umask) and given the schema; an existing one must be a regular file, not
// the model, and pass every schema and data check on a read-only
// connection before it is opened for writing. A file this call created is
// removed again if the schema could not be given to it, so that a failed
// start does not leave an empty file that every later start would refuse.
model::ModelResult<UserDatabase> open_user_database(std::string_view path,
                                                    std::string_view model_path);

}  // namespace ferrolune::userdata
