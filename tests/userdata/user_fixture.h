// Small helpers for user-database tests: a valid user database script that
// a test can bend in one place, and a file's bytes for unchanged-file checks.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "userdata/user_schema.h"

namespace ferrolune::test {

inline constexpr std::string_view kUserMarks =
    "PRAGMA application_id = 1179798606; PRAGMA user_version = 1;";

// The schema and marks of a new user database with `from` replaced by `to`
// (which must occur), followed by `extra`.
inline std::string user_script(std::string_view extra = {}, std::string_view from = {},
                               std::string_view to = {}) {
  std::string script(userdata::kUserSchemaScript);
  if (!from.empty()) {
    const auto at = script.find(from);
    if (at == std::string::npos) throw std::logic_error("fragment not in the schema");
    script.replace(at, from.size(), to);
  }
  return script + std::string(kUserMarks) + std::string(extra);
}

inline std::string file_bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace ferrolune::test
