#include "userdata/user_database.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "userdata/learning_store.h"
#include "userdata/sql_steps.h"
#include "userdata/user_schema.h"

namespace ferrolune::userdata {

namespace {

using model::Connection;
using model::ModelErrorKind;
using model::ModelResult;
using model::model_failure;

namespace fs = std::filesystem;

std::unexpected<model::ModelError> open_failed(std::string detail) {
  return model_failure(ModelErrorKind::OpenFailed, std::move(detail));
}

std::unexpected<model::ModelError> system_failure(int error) {
  return open_failed(std::strerror(error));
}

std::optional<fs::path> canonical_or_none(std::string_view path) {
  std::error_code error;
  fs::path resolved = fs::canonical(fs::path(path), error);
  if (error) return std::nullopt;
  return resolved;
}

ModelResult<std::string> canonical_path(std::string_view path) {
  std::error_code error;
  fs::path resolved = fs::canonical(fs::path(path), error);
  if (error) return open_failed(error.message());
  return resolved.string();
}

std::optional<struct stat> stat_or_none(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return std::nullopt;
  return info;
}

// Removes a file created by this opening unless the opening got as far as
// giving it the schema; a file someone else has since written to is kept.
class CreatedFile {
 public:
  explicit CreatedFile(std::string path) : path_(std::move(path)) {}
  CreatedFile(const CreatedFile&) = delete;
  CreatedFile& operator=(const CreatedFile&) = delete;
  ~CreatedFile() {
    if (path_.empty()) return;
    struct stat info {};
    if (::lstat(path_.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_size == 0) {
      ::unlink(path_.c_str());
    }
  }
  void keep() noexcept { path_.clear(); }

 private:
  std::string path_;
};

ModelResult<void> create_exclusively(const std::string& path) {
  const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (descriptor < 0) return system_failure(errno);
  ::close(descriptor);
  return {};
}

// Everything an existing file must pass before it is opened for writing.
ModelResult<void> precheck_existing(const std::string& path) {
  auto source = open_source_database(path);
  if (!source) return std::unexpected(source.error());
  if (auto checked = reject_model_as_user_data(*source); !checked) return checked;
  if (auto checked = validate_user_database(*source); !checked) {
    return std::unexpected(checked.error());
  }
  if (auto loaded = load_learning(*source); !loaded) return std::unexpected(loaded.error());
  return {};
}

}  // namespace

ModelResult<void> check_database_path_text(std::string_view path) {
  if (path.empty() || path.find('\0') != std::string_view::npos) {
    return model_failure(ModelErrorKind::InvalidInput,
                         "database path must be nonempty and contain no NUL");
  }
  return {};
}

ModelResult<void> ensure_distinct_from_model(std::string_view path, std::string_view model_path,
                                             std::string_view message) {
  const auto refused = [&] {
    return model_failure(ModelErrorKind::InvalidInput, std::string(message));
  };
  const auto first = canonical_or_none(path);
  const auto second = canonical_or_none(model_path);
  if (first && second && *first == *second) return refused();
  const auto first_info = stat_or_none(std::string(path));
  const auto second_info = stat_or_none(std::string(model_path));
  if (first_info && second_info && first_info->st_dev == second_info->st_dev &&
      first_info->st_ino == second_info->st_ino) {
    return refused();
  }
  return {};
}

ModelResult<Connection> open_source_database(std::string_view path) {
  const std::string text(path);
  struct stat info {};
  if (::stat(text.c_str(), &info) != 0) return system_failure(errno);
  if (!S_ISREG(info.st_mode)) {
    return model_failure(ModelErrorKind::InvalidInput, "source must be a regular file");
  }
  auto resolved = canonical_path(path);
  if (!resolved) return std::unexpected(resolved.error());
  std::string error;
  Connection connection =
      Connection::open(*resolved, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, error);
  if (!connection) return open_failed(error);
  if (auto read_only = sql::execute(connection, "PRAGMA query_only=ON"); !read_only) {
    return std::unexpected(read_only.error());
  }
  return connection;
}

ModelResult<UserDatabase> open_memory_user_database() {
  std::string error;
  Connection connection = Connection::open(
      ":memory:",
      SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX, error);
  if (!connection) return open_failed(error);
  if (auto created = create_user_schema(connection); !created) {
    return std::unexpected(created.error());
  }
  return UserDatabase(std::move(connection), true);
}

ModelResult<UserDatabase> open_user_database(std::string_view path, std::string_view model_path) {
  if (auto checked = check_database_path_text(path); !checked) return std::unexpected(checked.error());
  if (auto checked = check_database_path_text(model_path); !checked) {
    return std::unexpected(checked.error());
  }
  auto model = canonical_path(model_path);
  if (!model) return std::unexpected(model.error());
  constexpr std::string_view kSameFile = "user database must differ from shared model";
  if (auto distinct = ensure_distinct_from_model(path, *model, kSameFile); !distinct) {
    return std::unexpected(distinct.error());
  }

  const std::string text(path);
  std::optional<CreatedFile> created;
  struct stat link_info {};
  if (::lstat(text.c_str(), &link_info) != 0) {
    if (errno != ENOENT) return system_failure(errno);
    if (auto made = create_exclusively(text); !made) return std::unexpected(made.error());
    created.emplace(text);
  } else {
    struct stat info {};
    if (::stat(text.c_str(), &info) != 0) return system_failure(errno);
    if (!S_ISREG(info.st_mode)) {
      return model_failure(ModelErrorKind::InvalidInput, "user database must be a regular file");
    }
    if (auto checked = precheck_existing(text); !checked) return std::unexpected(checked.error());
  }

  auto resolved = canonical_path(path);
  if (!resolved) return std::unexpected(resolved.error());
  if (auto distinct = ensure_distinct_from_model(*resolved, *model, kSameFile); !distinct) {
    return std::unexpected(distinct.error());
  }
  std::string error;
  Connection connection =
      Connection::open(*resolved, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, error);
  if (!connection) return open_failed(error);
  if (sqlite3_busy_timeout(connection.get(), kUserBusyTimeoutMilliseconds) != SQLITE_OK) {
    return open_failed(connection.error_text());
  }
  if (created) {
    if (auto schema = create_user_schema(connection); !schema) {
      return std::unexpected(schema.error());
    }
    created->keep();
  }
  if (auto valid = validate_user_database(connection); !valid) return std::unexpected(valid.error());
  if (auto loaded = load_learning(connection); !loaded) return std::unexpected(loaded.error());
  return UserDatabase(std::move(connection), false);
}

}  // namespace ferrolune::userdata
