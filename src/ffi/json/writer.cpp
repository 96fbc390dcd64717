#include "ffi/json/writer.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace ferrolune::ffi::json {

namespace {

rapidjson::SizeType json_size(std::string_view text) {
  return static_cast<rapidjson::SizeType>(text.size());
}

}  // namespace

void Writer::check(bool written, const char* what) {
  if (!written && error_.empty()) error_ = std::string("could not write ") + what;
}

Writer& Writer::begin_object() {
  check(writer_.StartObject(), "an object");
  return *this;
}

Writer& Writer::end_object() {
  check(writer_.EndObject(), "the end of an object");
  return *this;
}

Writer& Writer::begin_array() {
  check(writer_.StartArray(), "an array");
  return *this;
}

Writer& Writer::end_array() {
  check(writer_.EndArray(), "the end of an array");
  return *this;
}

Writer& Writer::key(std::string_view name) {
  if (name.size() > std::numeric_limits<rapidjson::SizeType>::max()) {
    check(false, "a member name longer than 4 GiB");
    return *this;
  }
  check(writer_.Key(name.data(), json_size(name)), "a member name");
  return *this;
}

Writer& Writer::string(std::string_view text) {
  if (text.size() > std::numeric_limits<rapidjson::SizeType>::max()) {
    check(false, "a string longer than 4 GiB");
    writer_.Null();
    return *this;
  }
  check(writer_.String(text.data(), json_size(text)), "a string");
  return *this;
}

Writer& Writer::boolean(bool value) {
  check(writer_.Bool(value), "a boolean");
  return *this;
}

Writer& Writer::unsigned_number(std::uint64_t value) {
  check(writer_.Uint64(value), "an integer");
  return *this;
}

Writer& Writer::signed_number(std::int64_t value) {
  check(writer_.Int64(value), "an integer");
  return *this;
}

Writer& Writer::number(double value) {
  if (!std::isfinite(value)) {
    if (error_.empty()) error_ = "a number is not finite";
    writer_.Null();
    return *this;
  }
  // std::to_chars without a format gives the shortest round-trip form.
  char digits[32];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  const auto length = static_cast<rapidjson::SizeType>(result.ptr - digits);
  check(writer_.RawValue(digits, length, rapidjson::kNumberType), "a number");
  return *this;
}

Writer& Writer::null() {
  check(writer_.Null(), "null");
  return *this;
}

std::expected<std::string, std::string> Writer::take() {
  if (!error_.empty()) return std::unexpected(error_);
  if (!writer_.IsComplete()) return std::unexpected(std::string("the document is incomplete"));
  return std::string(buffer_.GetString(), buffer_.GetSize());
}

}  // namespace ferrolune::ffi::json
