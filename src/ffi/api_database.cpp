// ferrolune_database_open and ferrolune_database_close: the life of a
// stand-alone model handle.
#include <utility>

#include "ffi/database_handle.h"

using namespace ferrolune::ffi;

extern "C" {

int32_t ferrolune_database_open(const char* path, uint64_t path_length, ferrolune_database** out) {
  return run_request([&]() -> Checked<void> {
    if (auto cleared = clear_out(out, "database output pointer is null"); !cleared) return cleared;
    auto decoded = decode_text_argument(path, path_length, "database path");
    if (!decoded) return std::unexpected(decoded.error());
    if (decoded->empty()) return invalid_argument("database path is empty");
    auto opened = ferrolune::model::open_model_database(*decoded);
    if (!opened) return unexpected_of(opened.error());
    *out = new ferrolune_database{{}, std::move(*opened)};
    return {};
  });
}

int32_t ferrolune_database_close(ferrolune_database** slot) {
  if (!slot) return finish_request(invalid_argument("database handle slot is null"));
  // The connection closes with the handle; a close error has nobody to
  // report to, so it is dropped.
  delete std::exchange(*slot, nullptr);
  return finish_request({});
}

}  // extern "C"
