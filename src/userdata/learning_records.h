// The records a user's learning is made of, besides the user phrases
// (model::Unigram) and learned pairs (model::Bigram).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/records.h"

namespace ferrolune::userdata {

// The candidate a user chose for a reading key.
struct CandidateOverride {
  std::string qstring;
  std::string current;
  friend bool operator==(const CandidateOverride&, const CandidateOverride&) = default;
};

// How often a table method's code was resolved to a text.
struct TableLearning {
  std::string method;  // "cangjie", "simplex" or "traditional"
  std::string code;
  std::string current;
  std::int64_t count = 0;
  friend bool operator==(const TableLearning&, const TableLearning&) = default;
};

// The two Smart Mandarin caches, oldest entry first.
struct SmartLearning {
  std::vector<CandidateOverride> overrides;
  std::vector<model::Bigram> bigrams;
  friend bool operator==(const SmartLearning&, const SmartLearning&) = default;
};

}  // namespace ferrolune::userdata
