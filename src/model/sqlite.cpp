#include "model/sqlite.h"

#include <climits>

namespace ferrolune::model {

Connection& Connection::operator=(Connection&& other) noexcept {
  if (this != &other) {
    if (handle_) sqlite3_close_v2(handle_);
    handle_ = std::exchange(other.handle_, nullptr);
  }
  return *this;
}

Connection::~Connection() {
  if (handle_) sqlite3_close_v2(handle_);
}

Connection Connection::open(const std::string& path, int flags, std::string& error) {
  sqlite3* handle = nullptr;
  const int rc = sqlite3_open_v2(path.c_str(), &handle, flags, nullptr);
  if (rc != SQLITE_OK) {
    error = handle ? sqlite3_errmsg(handle) : sqlite3_errstr(rc);
    if (handle) sqlite3_close_v2(handle);
    return Connection();
  }
  return Connection(handle);
}

std::string Connection::error_text() const {
  return handle_ ? sqlite3_errmsg(handle_) : "no connection";
}

int Connection::exec(const char* sql) const noexcept {
  return sqlite3_exec(handle_, sql, nullptr, nullptr, nullptr);
}

Statement& Statement::operator=(Statement&& other) noexcept {
  if (this != &other) {
    if (handle_) sqlite3_finalize(handle_);
    handle_ = std::exchange(other.handle_, nullptr);
  }
  return *this;
}

Statement::~Statement() {
  if (handle_) sqlite3_finalize(handle_);
}

int Statement::prepare(const Connection& connection, std::string_view sql) noexcept {
  if (handle_) {
    sqlite3_finalize(handle_);
    handle_ = nullptr;
  }
  if (sql.size() > static_cast<std::size_t>(INT_MAX)) return SQLITE_TOOBIG;
  return sqlite3_prepare_v2(connection.get(), sql.data(), static_cast<int>(sql.size()), &handle_,
                            nullptr);
}

int Statement::bind_text(int index, std::string_view text) noexcept {
  return sqlite3_bind_text64(handle_, index, text.data(), text.size(), SQLITE_TRANSIENT,
                             SQLITE_UTF8);
}

int Statement::bind_int64(int index, std::int64_t value) noexcept {
  return sqlite3_bind_int64(handle_, index, value);
}

int Statement::bind_double(int index, double value) noexcept {
  return sqlite3_bind_double(handle_, index, value);
}

int Statement::bind_null(int index) noexcept { return sqlite3_bind_null(handle_, index); }

int Statement::parameter_count() const noexcept { return sqlite3_bind_parameter_count(handle_); }

int Statement::step() noexcept { return sqlite3_step(handle_); }

int Statement::reset() noexcept { return sqlite3_reset(handle_); }

int Statement::column_count() const noexcept { return sqlite3_column_count(handle_); }

int Statement::column_type(int column) const noexcept {
  return sqlite3_column_type(handle_, column);
}

std::int64_t Statement::column_int64(int column) const noexcept {
  return sqlite3_column_int64(handle_, column);
}

double Statement::column_double(int column) const noexcept {
  return sqlite3_column_double(handle_, column);
}

std::string_view Statement::column_text(int column) const noexcept {
  const auto* bytes = sqlite3_column_text(handle_, column);
  const int length = sqlite3_column_bytes(handle_, column);
  if (!bytes || length <= 0) return {};
  return {reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(length)};
}

Transaction::~Transaction() {
  if (connection_) sqlite3_exec(connection_, "ROLLBACK", nullptr, nullptr, nullptr);
}

int Transaction::begin(const Connection& connection, const char* begin_sql) noexcept {
  const int rc = sqlite3_exec(connection.get(), begin_sql, nullptr, nullptr, nullptr);
  if (rc == SQLITE_OK) connection_ = connection.get();
  return rc;
}

int Transaction::commit() noexcept {
  if (!connection_) return SQLITE_MISUSE;
  const int rc = sqlite3_exec(connection_, "COMMIT", nullptr, nullptr, nullptr);
  if (rc == SQLITE_OK) connection_ = nullptr;
  return rc;
}

}  // namespace ferrolune::model
