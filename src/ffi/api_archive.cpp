// ferrolune_validate_user_archive: checks a user archive document without
// a session.
#include "ffi/archive_document.h"
#include "userdata/archive_import.h"

using namespace ferrolune;
using namespace ferrolune::ffi;

extern "C" int32_t ferrolune_validate_user_archive(const char* archive, uint64_t archive_length) {
  return run_request([&]() -> Checked<void> {
    auto text = decode_text_argument(archive, archive_length, "user archive");
    if (!text) return std::unexpected(text.error());
    auto parsed = parse_user_archive(*text);
    if (!parsed) return std::unexpected(parsed.error());
    if (auto valid = userdata::validate_user_archive(*parsed); !valid) return unexpected_of(Error(valid.error()));
    return {};
  });
}
