// A model file built from an SQL script in a private temporary directory
// and opened the way the engine opens it.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

#include "model/model_database.h"
#include "support/sqlite_fixture.h"
#include "support/temp_dir.h"

namespace ferrolune::table {

class FixtureModel {
 public:
  // `script` runs after the minimal schema of all nine tables.
  explicit FixtureModel(std::string_view script) {
    test::write_sqlite(path(), std::string(test::kMinimalModelSchema) + std::string(script));
    auto opened = model::open_model_database(path().string());
    if (!opened) throw std::runtime_error(opened.error().message());
    model_.emplace(std::move(*opened));
  }

  const model::ModelDatabase& get() const { return *model_; }

 private:
  std::filesystem::path path() const { return dir_.file("model.db"); }

  test::TempDir dir_;
  std::optional<model::ModelDatabase> model_;
};

}  // namespace ferrolune::table
