#include "fake_host.h"

namespace ferrolune::test {

namespace fs = std::filesystem;

FakeHost::FakeHost(const TestHome& home) {
  old_directory_ = fs::current_path();
  fs::current_path(home.scratch());
  const fs::path copy = home.scratch() / "ferrolune-tovu-test.so";
  fs::copy_file(FERROLUNE_TEST_MODULE, copy, fs::copy_options::overwrite_existing);
  module_ = dlopen(copy.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module_ == nullptr) throw std::runtime_error(dlerror());
}

FakeHost::~FakeHost() {
  // The module is never unloaded: it keeps its session and windows for
  // the life of the process, as it does in the real host.
  fs::current_path(old_directory_);
}

void FakeHost::type(const std::string& keys) {
  for (char key : keys) feed(static_cast<unsigned char>(key));
}

FakeHost::Preedit FakeHost::preedit() {
  Preedit result;
  char text[512];
  int extra = -1;
  result.attributes = entry<int (*)(char*, tovu_preedit_attribute*, int*, int*)>("module_get_preedit")(
      text, &result.attribute, &result.cursor, &extra);
  result.text = text;
  return result;
}

}  // namespace ferrolune::test
