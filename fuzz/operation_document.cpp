// Fuzzes the text-argument check and the input operation reader: no input
// may crash, leak or trip a sanitizer, and every refusal must say why.
#include <cstdint>
#include <cstdlib>

#include "engine/operation_checks.h"
#include "ffi/frame.h"
#include "ffi/operation_document.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace ferrolune;
  const auto text = ffi::decode_text_argument(reinterpret_cast<const char*>(data), size, "input operation");
  if (!text) {
    if (text.error().message.empty()) std::abort();
    return 0;
  }
  const auto operation = ffi::parse_input_operation(*text);
  if (!operation) {
    if (operation.error().message.rfind("invalid input operation: ", 0) != 0) std::abort();
    return 0;
  }
  const auto checked = engine::check_input_operation(*operation);
  if (!checked && checked.error().message().empty()) std::abort();
  return 0;
}
