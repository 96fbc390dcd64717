#include "ffi/frame.h"

#include <cstdio>
#include <cstdlib>
#include <limits>

#include "base/utf8.h"

namespace ferrolune::ffi {

namespace {

constexpr std::uint64_t kMaxSigned = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());

thread_local std::string thread_last_error;

}  // namespace

std::int32_t status_of(model::ModelErrorKind kind) noexcept {
  switch (kind) {
    case model::ModelErrorKind::InvalidInput: return FERROLUNE_INVALID_ARGUMENT;
    case model::ModelErrorKind::OpenFailed:
    case model::ModelErrorKind::QueryFailed: return FERROLUNE_STORAGE_ERROR;
    case model::ModelErrorKind::InvalidSchema:
    case model::ModelErrorKind::InvalidData: return FERROLUNE_DATA_ERROR;
  }
  return FERROLUNE_INVALID_ARGUMENT;
}

Failure failure_of(const Error& error) {
  if (const auto* model = error.model_error()) return Failure{status_of(model->kind), model->message()};
  return Failure{FERROLUNE_INVALID_ARGUMENT, error.message()};
}

const std::string& last_error() noexcept { return thread_last_error; }

void set_last_error(std::string message) { thread_last_error = std::move(message); }

Checked<std::string_view> decode_text_argument(const char* data, std::uint64_t length,
                                               std::string_view name) {
  const std::string label(name);
  if (length > kMaxSigned) return invalid_argument(label + " is too long");
  if (length == 0) return std::string_view();
  if (!data) return invalid_argument(label + " pointer is null");
  if (length > std::numeric_limits<std::size_t>::max()) return invalid_argument(label + " is too long");
  const std::string_view text(data, static_cast<std::size_t>(length));
  if (!base::is_valid_utf8(text)) return failure(FERROLUNE_INVALID_UTF8, label + " is not valid UTF-8");
  if (text.find('\0') != std::string_view::npos) {
    return invalid_argument(label + " contains an embedded NUL");
  }
  return text;
}

Checked<void> copy_out_text(std::string_view text, char* buffer, std::uint64_t capacity,
                            std::uint64_t* required) {
  if (!required) return invalid_argument("required-length pointer is null");
  *required = 0;
  if (capacity > kMaxSigned) return invalid_argument("output capacity is too large");
  if (!buffer && capacity != 0) return invalid_argument("output pointer is null");
  const std::uint64_t length = text.size();
  if (length >= kMaxSigned) return invalid_argument("output is too large");
  *required = length + 1;
  if (length < capacity) {
    text.copy(buffer, text.size());
    buffer[text.size()] = '\0';
    return {};
  }
  return failure(FERROLUNE_BUFFER_TOO_SMALL,
                 "output needs " + std::to_string(length + 1) + " bytes including the trailing NUL");
}

Checked<void> store_result(ferrolune_result** out, std::expected<std::string, std::string> json,
                           std::uint64_t row_count, std::string_view serialize_prefix) {
  if (!json) return failure(FERROLUNE_STORAGE_ERROR, std::string(serialize_prefix) + json.error());
  *out = new ferrolune_result{std::move(*json), row_count};
  return {};
}

void out_of_memory() noexcept {
  std::fputs("ferrolune: out of memory\n", stderr);
  std::abort();
}

std::int32_t finish_request(const Checked<void>& outcome) {
  if (outcome) {
    thread_last_error.clear();
    return FERROLUNE_OK;
  }
  thread_last_error = outcome.error().message;
  return outcome.error().status;
}

std::int32_t internal_fault() noexcept {
  try {
    thread_last_error = "Ferrolune caught an internal panic";
  } catch (...) {
    out_of_memory();
  }
  return FERROLUNE_INTERNAL_FAULT;
}

}  // namespace ferrolune::ffi
