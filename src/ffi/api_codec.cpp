// ferrolune_reading_codec: the stand-alone reading codec request.
#include "ffi/codec_document.h"
#include "ffi/frame.h"

using namespace ferrolune::ffi;

extern "C" int32_t ferrolune_reading_codec(const char* request, uint64_t request_length,
                                           ferrolune_result** out) {
  return run_request([&]() -> Checked<void> {
    if (auto cleared = clear_out(out, "result output pointer is null"); !cleared) return cleared;
    auto text = decode_text_argument(request, request_length, "reading codec request");
    if (!text) return std::unexpected(text.error());
    auto operation = parse_reading_codec_request(*text);
    if (!operation) return std::unexpected(operation.error());
    auto conversion = run_reading_codec(*operation);
    if (!conversion) return std::unexpected(conversion.error());
    // The answer has no rows.
    return store_result(out, write_reading_codec_result(*conversion), 0,
                        "could not serialize reading codec result: ");
  });
}
