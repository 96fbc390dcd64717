// ferrolune_reading_codec: the stand-alone reading codec request.
#include "ffi/frame.h"

using namespace ferrolune::ffi;

extern "C" int32_t ferrolune_reading_codec(const char* request, uint64_t request_length,
                                           ferrolune_result** out) {
  return run_request([&]() -> Checked<void> {
    if (auto cleared = clear_out(out, "result output pointer is null"); !cleared) return cleared;
    auto text = decode_text_argument(request, request_length, "reading codec request");
    if (!text) return std::unexpected(text.error());
    return invalid_argument("the reading codec is not available in this build");
  });
}
