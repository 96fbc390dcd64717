// ferrolune_validate_user_archive: checks a user archive document.
#include "ffi/frame.h"

using namespace ferrolune::ffi;

extern "C" int32_t ferrolune_validate_user_archive(const char* archive, uint64_t archive_length) {
  return run_request([&]() -> Checked<void> {
    auto text = decode_text_argument(archive, archive_length, "user archive");
    if (!text) return std::unexpected(text.error());
    return invalid_argument("user archives are not available in this build");
  });
}
