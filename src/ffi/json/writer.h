// Compact JSON writing for the answer documents, straight into a buffer
// without an intermediate tree (RapidJSON's writer). Only the quotation
// mark, the backslash and characters below U+0020 are escaped; everything
// else is written as UTF-8. Doubles are written in the shortest form that
// reads back to the same value. A value that JSON cannot hold (a
// non-finite number) marks the writer failed; `take` then reports it.
#pragma once

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <cstdint>
#include <expected>
#include <string>
#include <string_view>

namespace ferrolune::ffi::json {

class Writer {
 public:
  Writer() : writer_(buffer_) {}

  Writer& begin_object();
  Writer& end_object();
  Writer& begin_array();
  Writer& end_array();
  // A member name; the next call writes its value.
  Writer& key(std::string_view name);

  Writer& string(std::string_view text);
  Writer& boolean(bool value);
  Writer& unsigned_number(std::uint64_t value);
  Writer& signed_number(std::int64_t value);
  Writer& number(double value);
  Writer& null();

  // The document, or the writer's description of why it could not be
  // written.
  std::expected<std::string, std::string> take();

 private:
  void check(bool written, const char* what);

  rapidjson::StringBuffer buffer_;
  rapidjson::Writer<rapidjson::StringBuffer> writer_;
  std::string error_;
};

}  // namespace ferrolune::ffi::json
