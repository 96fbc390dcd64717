// Writes the front end's fixture model (fixture_model.sql beside this
// file) as a SQLite file.
#pragma once

#include <filesystem>

#include "support/sqlite_fixture.h"
#include "test_home.h"

namespace ferrolune::test {

inline void write_fixture_model(const std::filesystem::path& path) {
  write_sqlite(path, TestHome::read(FERROLUNE_FRONTEND_FIXTURE_SQL));
}

}  // namespace ferrolune::test
