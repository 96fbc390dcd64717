// The language-model records shared by the model tables and the user's
// learning: a scored word for a reading, and a scored word pair.
#pragma once

#include <string>

namespace ferrolune::model {

// A word (`current`) for a reading key (`qstring`) with its log10
// probability and back-off weight.
struct Unigram {
  std::string qstring;
  std::string current;
  double probability = 0;
  double backoff = 0;
  friend bool operator==(const Unigram&, const Unigram&) = default;
};

// `current` following `previous` for the reading key of `current`.
struct Bigram {
  std::string qstring;
  std::string previous;
  std::string current;
  double probability = 0;
  friend bool operator==(const Bigram&, const Bigram&) = default;
};

}  // namespace ferrolune::model
