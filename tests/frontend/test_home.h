// A temporary HOME for one test: HOME points into a fresh directory for
// the test's lifetime and is restored afterwards. Helpers write the files
// the module reads under HOME/.tovu.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "support/temp_dir.h"

namespace ferrolune::test {

class TestHome {
 public:
  TestHome() {
    if (const char* old = std::getenv("HOME")) old_home_ = old;
    home_ = dir_.path() / "home";
    std::filesystem::create_directories(home_);
    setenv("HOME", home_.c_str(), 1);
  }
  ~TestHome() {
    if (old_home_) {
      setenv("HOME", old_home_->c_str(), 1);
    } else {
      unsetenv("HOME");
    }
  }
  TestHome(const TestHome&) = delete;
  TestHome& operator=(const TestHome&) = delete;

  const std::filesystem::path& home() const { return home_; }
  const std::filesystem::path& scratch() const { return dir_.path(); }
  std::filesystem::path config(const std::string& name) const { return home_ / ".tovu" / "config" / name; }
  std::filesystem::path data(const std::string& name) const { return home_ / ".tovu" / "ferrolune" / name; }

  static void write(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
  }
  static std::string read(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

 private:
  TempDir dir_;
  std::filesystem::path home_;
  std::optional<std::string> old_home_;
};

}  // namespace ferrolune::test
