// The lexicon: every character and word the model knows, with reading keys,
// reading shares and corpus counts, merged from the Pinyin dictionary and
// the frequency list.
//
//   - Characters keep each distinct reading key with its share (0..1). Given
//     percentages are used as they are (normalised to a sum of 1); readings
//     without one share what the given ones leave; when a character with
//     several readings has no percentages at all, its readings are weighted
//     by how often the dictionary's words read it that way (each word
//     counted by its corpus frequency plus one, add-one smoothed).
//   - A character's dominant reading is the one with a share of at least
//     90%; only such readings are used to derive the reading of a word.
//   - Words are the dictionary's words (every reading of each) followed by
//     the frequency list's further words of 2 to 8 characters whose every
//     character has a dominant reading, in frequency-list order.
//
// Rows that cannot be used are counted in the report with their reason.
#pragma once

#include <cstddef>
#include <cstdint>
#include <expected>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "compile_report.h"
#include "open_sources.h"
#include "pinyin_reading.h"

namespace ferrolune::model_compiler {

// The lattice of the engine never spans more syllables than this.
inline constexpr std::size_t kMaximumWordLength = 8;
// A reading at least this large a share of its character is dominant.
inline constexpr double kDominantShare = 0.9;
// The count given to words the frequency list lacks (or counts as 0).
inline constexpr double kFloorCount = 0.5;

struct CharacterReading {
  std::string qstring;  // one syllable
  double share = 0;     // 0..1
};

struct Character {
  std::string text;
  std::vector<CharacterReading> readings;  // dictionary order, distinct keys
  // The dominant reading's key, or empty.
  std::string dominant;
};

struct Word {
  std::string text;
  std::string qstring;
  bool derived = false;  // reading derived from its characters
};

class Lexicon {
 public:
  std::vector<Character> characters;  // in dictionary order
  std::vector<Word> words;

  // The corpus count of a text (0 when the list lacks it) and the total.
  std::uint64_t count(std::string_view text) const;
  std::uint64_t total() const { return total_; }
  // log10 of a (weighted) count relative to the total, floored at kFloorCount.
  double probability(double weighted_count) const;
  // The character entry of a one-character text, or null.
  const Character* character(std::string_view text) const;

 private:
  friend std::expected<Lexicon, std::string> build_lexicon(const PinyinDictionary&, const FrequencyList&,
                                                           PinyinConverter&, CompileReport&);
  std::unordered_map<std::string, std::uint64_t> counts_;
  std::unordered_map<std::string, std::size_t> character_index_;
  std::uint64_t total_ = 1;
};

std::expected<Lexicon, std::string> build_lexicon(const PinyinDictionary& dictionary,
                                                  const FrequencyList& frequencies,
                                                  PinyinConverter& converter, CompileReport& report);

}  // namespace ferrolune::model_compiler
