// The input operation document: parsing into an InputOperation.
//
// Two forms are read. The object form carries the tag in a string member
// "type" that may stand anywhere among the operation's fields; unknown,
// duplicate and missing fields are refused, except that an operation without
// fields ignores any members besides "type". The array form holds the tag
// first and then the fields in declaration order (trailing optional fields
// may be left out); an operation without fields is the tag alone.
#pragma once

#include <string_view>

#include "engine/input_operation.h"
#include "ffi/frame.h"
#include "ffi/json/reader.h"

namespace ferrolune::ffi {

// Parses decoded operation text; a failure is status 1 with
// "invalid input operation: " and the reader's description.
Checked<engine::InputOperation> parse_input_operation(std::string_view text);

// Reads a Modifiers object (every member optional, false by default).
engine::Modifiers read_modifiers(json::Reader& reader);

}  // namespace ferrolune::ffi
