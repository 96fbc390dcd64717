// The replacement tovu host: a RecordingHost service table plus the real
// module, loaded with dlopen from a private copy so that every test starts
// with a fresh module instance. The test's working directory becomes its
// scratch directory, where the test module looks for its model.
#pragma once

#include <dlfcn.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "recording_host.h"
#include "test_home.h"
#include "tovu_module.h"

namespace ferrolune::test {

class FakeHost : public RecordingHost {
 public:
  explicit FakeHost(const TestHome& home);
  ~FakeHost();

  template <typename Fn>
  Fn entry(const char* name) const {
    void* symbol = dlsym(module_, name);
    if (symbol == nullptr) throw std::runtime_error(std::string("module lacks ") + name);
    return reinterpret_cast<Fn>(symbol);
  }
  bool exports(const char* name) const { return dlsym(module_, name) != nullptr; }

  int init() { return entry<int (*)(void*)>("module_init_win")(table()); }
  int feed(int keysym, int state = 0) { return entry<int (*)(int, int)>("module_feedkey")(keysym, state); }
  // Feeds each ASCII character of `keys` as its keysym.
  void type(const std::string& keys);
  int reset() { return entry<int (*)()>("module_reset")(); }
  int flush() { return entry<int (*)()>("module_flush_input")(); }
  int visible() { return entry<int (*)()>("module_win_visible")(); }
  // The preedit text, its caret and attribute count.
  struct Preedit {
    std::string text;
    int cursor = -1;
    int attributes = -1;
    tovu_preedit_attribute attribute{};
  };
  Preedit preedit();

 private:
  std::filesystem::path old_directory_;
  void* module_ = nullptr;
};

}  // namespace ferrolune::test
