// The engine as the ferrolune tool uses it: owned handles and answers
// turned into texts, through the public C interface only. A failure is the
// engine's own last-error message.
#pragma once

#include <ferrolune.h>

#include <cstdint>
#include <expected>
#include <string>
#include <string_view>

namespace ferrolune::cli {

using Answer = std::expected<std::string, std::string>;

// The JSON text of a result (freed here), or the last error after a
// failed call.
Answer answer_of(std::int32_t status, ferrolune_result* result);

class Session {
 public:
  static std::expected<Session, std::string> open(std::string_view model, std::string_view config);
  Session(Session&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;
  Session& operator=(Session&&) = delete;
  ~Session() { ferrolune_session_free(&handle_); }

  Answer input(std::string_view operation);

 private:
  explicit Session(ferrolune_session* handle) : handle_(handle) {}
  ferrolune_session* handle_;
};

class Database {
 public:
  static std::expected<Database, std::string> open(std::string_view model);
  Database(Database&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;
  Database& operator=(Database&&) = delete;
  ~Database() { ferrolune_database_close(&handle_); }

  Answer query(std::uint32_t kind, std::string_view key);
  Answer collections(std::string_view request);
  Answer phrases(std::string_view request);

 private:
  explicit Database(ferrolune_database* handle) : handle_(handle) {}
  ferrolune_database* handle_;
};

Answer reading_codec(std::string_view request);

}  // namespace ferrolune::cli
