// The user archive document: learned data to import, read strictly
// (exactly the listed members; unknown and duplicate members are refused).
#pragma once

#include <string_view>

#include "ffi/frame.h"
#include "ffi/json/reader.h"
#include "userdata/user_archive.h"

namespace ferrolune::ffi {

// Reads one Unigram object (all four members required).
model::Unigram read_unigram(json::Reader& reader);

// Reads one archive object (also the "archive" field of an operation).
userdata::UserArchive read_user_archive(json::Reader& reader);

// Parses decoded archive text; a failure is status 1 with
// "invalid user archive: " and the reader's description.
Checked<userdata::UserArchive> parse_user_archive(std::string_view text);

}  // namespace ferrolune::ffi
