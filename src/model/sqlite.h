// A thin RAII layer over SQLite's C API: a connection, a prepared
// statement and a transaction guard. It adds ownership and nothing else:
// failures come back as SQLite result codes plus the connection's error
// text, and each storage layer turns them into its own ModelError kinds.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace ferrolune::model {

// An owned sqlite3 connection; closed (with sqlite3_close_v2) on
// destruction. Move-only.
class Connection {
 public:
  Connection() = default;
  explicit Connection(sqlite3* handle) noexcept : handle_(handle) {}
  Connection(Connection&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  Connection& operator=(Connection&& other) noexcept;
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  ~Connection();

  // sqlite3_open_v2 with `flags` and no VFS name. On failure the returned
  // connection is empty and `error` holds SQLite's text.
  static Connection open(const std::string& path, int flags, std::string& error);

  sqlite3* get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != nullptr; }
  // The connection's current error text (sqlite3_errmsg).
  std::string error_text() const;
  // Runs one or more statements without results; SQLITE_OK or an error code.
  int exec(const char* sql) const noexcept;

 private:
  sqlite3* handle_ = nullptr;
};

// An owned prepared statement; finalized on destruction. Move-only.
class Statement {
 public:
  Statement() = default;
  Statement(Statement&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  Statement& operator=(Statement&& other) noexcept;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  ~Statement();

  // sqlite3_prepare_v2 of `sql`; returns the result code.
  int prepare(const Connection& connection, std::string_view sql) noexcept;

  sqlite3_stmt* get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != nullptr; }

  // Binding, 1-based like SQLite. Text is copied (SQLITE_TRANSIENT).
  int bind_text(int index, std::string_view text) noexcept;
  int bind_int64(int index, std::int64_t value) noexcept;
  int bind_double(int index, double value) noexcept;
  int bind_null(int index) noexcept;
  int parameter_count() const noexcept;

  // SQLITE_ROW, SQLITE_DONE or an error code.
  int step() noexcept;
  int reset() noexcept;
  int column_count() const noexcept;
  int column_type(int column) const noexcept;
  std::int64_t column_int64(int column) const noexcept;
  double column_double(int column) const noexcept;
  // The column's bytes as SQLite stores them (no conversion for TEXT).
  std::string_view column_text(int column) const noexcept;

 private:
  sqlite3_stmt* handle_ = nullptr;
};

// BEGIN on construction by `begin`, ROLLBACK on destruction unless
// committed. `begin_sql` is the statement that opens the transaction,
// e.g. "BEGIN IMMEDIATE" or "BEGIN DEFERRED".
class Transaction {
 public:
  Transaction() = default;
  Transaction(Transaction&& other) noexcept
      : connection_(std::exchange(other.connection_, nullptr)) {}
  Transaction& operator=(Transaction&&) = delete;
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  ~Transaction();

  // Returns SQLITE_OK and an active transaction, or an error code.
  int begin(const Connection& connection, const char* begin_sql) noexcept;
  // COMMIT; after a failure the destructor still rolls back.
  int commit() noexcept;
  bool active() const noexcept { return connection_ != nullptr; }

 private:
  sqlite3* connection_ = nullptr;
};

}  // namespace ferrolune::model
