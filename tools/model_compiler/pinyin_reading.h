// Tone-numbered Pinyin of the Pinyin dictionary to the engine's reading
// keys, through the engine's own parse_pinyin and syllable_qstring, so
// that the model and the engine can never disagree on an encoding.
//
// A syllable is lower-case letters and one tone digit 1 to 5. It converts
// when its spelling (without the digit) is one of the explicit exceptions
// of data/pinyin_exceptions.txt, or when parse_pinyin reads every letter of
// it: the parser stops at the first letter it cannot place, and whatever it
// left unread would make it ignore the tone, so a spelling is accepted only
// if parse_pinyin(spelling + "4") yields a phonetic syllable in the fourth
// tone. Everything else is unconvertible and is reported by the caller.
#pragma once

#include <expected>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "bopomofo/syllable.h"
#include "data_file.h"

namespace ferrolune::model_compiler {

class PinyinConverter {
 public:
  // From the records of the exceptions file: spelling, Bopomofo without
  // tone. Refuses a record whose Bopomofo is not one phonetic syllable.
  static std::expected<PinyinConverter, std::string> from_exceptions(const DataFile& exceptions);

  // One syllable such as "wo3"; nothing when it does not convert.
  std::optional<bopomofo::BopomofoSyllable> syllable(std::string_view pinyin);

  // The reading key of blank-separated syllables ("wo3 men5"), or the
  // first syllable that does not convert.
  std::expected<std::string, std::string> qstring(std::string_view pinyin);

  // Every distinct spelling met so far with its result, in spelling order.
  const std::map<std::string, std::optional<bopomofo::BopomofoSyllable>, std::less<>>& seen() const {
    return cache_;
  }

 private:
  std::map<std::string, bopomofo::BopomofoSyllable, std::less<>> exceptions_;
  std::map<std::string, std::optional<bopomofo::BopomofoSyllable>, std::less<>> cache_;
};

}  // namespace ferrolune::model_compiler
