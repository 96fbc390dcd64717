#include "temp_dir.h"

#include <cerrno>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <system_error>

namespace ferrolune::test {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "ferrolune-test-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) {
    throw std::runtime_error("could not create a temporary directory: " +
                             std::error_code(errno, std::generic_category()).message());
  }
  path_ = pattern;
}

TempDir::~TempDir() {
  // Tests may leave read-only files or dangling links behind; removal must
  // not throw from a destructor.
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace ferrolune::test
