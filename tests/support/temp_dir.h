// A private scratch directory for one test. The constructor creates a new
// directory with a unique name under the system temporary directory; the
// destructor removes it with everything inside. Failing to create it
// throws std::runtime_error, which GoogleTest reports as a test failure.
#pragma once

#include <filesystem>
#include <string_view>

namespace ferrolune::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const noexcept { return path_; }
  // The path of `name` inside the directory; nothing is created.
  std::filesystem::path file(std::string_view name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

}  // namespace ferrolune::test
