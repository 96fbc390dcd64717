#include "sqlite_fixture.h"

#include <sqlite3.h>

#include <stdexcept>
#include <string>

namespace ferrolune::test {

void write_sqlite(const std::filesystem::path& path, std::string_view sql_script) {
  sqlite3* db = nullptr;
  const std::string name = path.string();
  if (sqlite3_open_v2(name.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
      SQLITE_OK) {
    const std::string message = db ? sqlite3_errmsg(db) : "out of memory";
    sqlite3_close(db);
    throw std::runtime_error("could not create " + name + ": " + message);
  }
  const std::string script(sql_script);
  char* error = nullptr;
  if (sqlite3_exec(db, script.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    const std::string message = error ? error : sqlite3_errmsg(db);
    sqlite3_free(error);
    sqlite3_close(db);
    throw std::runtime_error("could not run the script on " + name + ": " + message);
  }
  sqlite3_close(db);
}

}  // namespace ferrolune::test
