// Entry points that need no handle of their own: the interface version,
// the last error and the result object.
#include "ffi/frame.h"

using namespace ferrolune::ffi;

extern "C" {

int32_t ferrolune_abi_version(void) { return 1; }

int32_t ferrolune_last_error(char* buffer, uint64_t capacity, uint64_t* required) {
  // Never records anything: it copies a private duplicate so that its own
  // failures leave the stored message as it was.
  try {
    const std::string message = last_error();
    const Checked<void> outcome = copy_out_text(message, buffer, capacity, required);
    return outcome ? FERROLUNE_OK : outcome.error().status;
  } catch (const std::bad_alloc&) {
    out_of_memory();
  } catch (...) {
    return FERROLUNE_INTERNAL_FAULT;
  }
}

int32_t ferrolune_result_read(const ferrolune_result* result, char* buffer, uint64_t capacity,
                              uint64_t* required) {
  return run_request([&]() -> Checked<void> {
    if (!result) return invalid_argument("result handle is null");
    return copy_out_text(result->json, buffer, capacity, required);
  });
}

int32_t ferrolune_result_row_count(const ferrolune_result* result, uint64_t* out) {
  if (!out) return finish_request(invalid_argument("row-count output pointer is null"));
  *out = 0;
  if (!result) return finish_request(invalid_argument("result handle is null"));
  *out = result->row_count;
  return finish_request({});
}

int32_t ferrolune_result_free(ferrolune_result** slot) {
  if (!slot) return finish_request(invalid_argument("result handle slot is null"));
  delete std::exchange(*slot, nullptr);
  return finish_request({});
}

}  // extern "C"
