// A user archive: learned data to import. Phrases are merged; the smart
// caches and the table counts, when present, replace what is stored.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "userdata/learning_records.h"

namespace ferrolune::userdata {

struct UserArchive {
  // `format` has one value, "ferrolune_user_data"; the reader checks it.
  std::int64_t schema_version = 1;
  std::vector<model::Unigram> phrases;
  std::optional<SmartLearning> smart;
  std::optional<std::vector<TableLearning>> table;
  friend bool operator==(const UserArchive&, const UserArchive&) = default;
};

}  // namespace ferrolune::userdata
