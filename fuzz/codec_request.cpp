// Fuzzes the reading codec request: any bytes go in as the request text.
// Every answer must be either status 0 with a readable result that is a
// reading codec document, or a failure with a message and no result.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/utf8.h"
#include "ferrolune.h"

namespace {

std::string read_last_error() {
  uint64_t required = 0;
  if (ferrolune_last_error(nullptr, 0, &required) == FERROLUNE_OK) return {};
  std::string text(required, '\0');
  if (ferrolune_last_error(text.data(), required, &required) != FERROLUNE_OK) std::abort();
  text.resize(required - 1);
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ferrolune_result* result = nullptr;
  const int32_t status = ferrolune_reading_codec(reinterpret_cast<const char*>(data), size, &result);
  if (status != FERROLUNE_OK) {
    // The codec has no storage and must never fault.
    if (result != nullptr || read_last_error().empty()) std::abort();
    if (status != FERROLUNE_INVALID_ARGUMENT && status != FERROLUNE_INVALID_UTF8) std::abort();
    return 0;
  }
  if (result == nullptr || !read_last_error().empty()) std::abort();
  uint64_t required = 0;
  if (ferrolune_result_read(result, nullptr, 0, &required) != FERROLUNE_BUFFER_TOO_SMALL) std::abort();
  std::string json(required, '\0');
  if (ferrolune_result_read(result, json.data(), required, &required) != FERROLUNE_OK) std::abort();
  json.resize(required - 1);
  constexpr std::string_view kHead = R"({"schema_version":1,"kind":"reading_codec","qstring":")";
  if (!json.starts_with(kHead) || !json.ends_with("}") || !ferrolune::base::is_valid_utf8(json)) std::abort();
  ferrolune_result_free(&result);
  if (result != nullptr) std::abort();
  return 0;
}
