#include "pinyin_reading.h"

#include "bopomofo/pinyin.h"
#include "bopomofo/reading_codec.h"

namespace ferrolune::model_compiler {
namespace {

using bopomofo::BopomofoSyllable;

// The tone field of a Pinyin tone digit: 1 is the unmarked first tone,
// 5 the neutral tone ˙.
BopomofoSyllable with_tone(BopomofoSyllable syllable, char digit) {
  return bopomofo::merge_component(
      BopomofoSyllable{static_cast<std::uint16_t>(syllable.value & bopomofo::kPhoneticMask)},
      bopomofo::tone_component(static_cast<unsigned>(digit - '1')));
}

bool lower_letters(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (c < 'a' || c > 'z') return false;
  }
  return true;
}

}  // namespace

std::expected<PinyinConverter, std::string> PinyinConverter::from_exceptions(const DataFile& exceptions) {
  PinyinConverter converter;
  for (const DataRecord& record : exceptions.records) {
    const std::string context = exceptions.path.string() + ":" + std::to_string(record.line) + ": ";
    if (record.fields.size() != 2 || !lower_letters(record.fields[0])) {
      return std::unexpected(context + "expected a lower-case spelling, a tab and its Bopomofo");
    }
    bopomofo::EncodeOptions strict;
    strict.components = bopomofo::ComponentPolicy::UniqueKnown;
    strict.empty = bopomofo::EmptySyllablePolicy::Reject;
    strict.require_phonetic = true;
    auto encoded = bopomofo::encode_reading(record.fields[1], strict);
    if (!encoded || encoded->syllable_count != 1) {
      return std::unexpected(context + "the Bopomofo must be one syllable: " +
                             (encoded ? "found " + std::to_string(encoded->syllable_count)
                                      : encoded.error().message()));
    }
    const BopomofoSyllable syllable = bopomofo::bopomofo_syllable(encoded->reading);
    if (syllable.toned()) return std::unexpected(context + "the Bopomofo must carry no tone mark");
    if (!converter.exceptions_.emplace(record.fields[0], syllable).second) {
      return std::unexpected(context + "spelling listed twice");
    }
  }
  return converter;
}

std::optional<BopomofoSyllable> PinyinConverter::syllable(std::string_view pinyin) {
  if (const auto found = cache_.find(pinyin); found != cache_.end()) return found->second;

  std::optional<BopomofoSyllable> result;
  const char digit = pinyin.empty() ? '\0' : pinyin.back();
  const std::string_view spelling = pinyin.substr(0, pinyin.empty() ? 0 : pinyin.size() - 1);
  if (digit >= '1' && digit <= '5' && lower_letters(spelling)) {
    if (const auto exception = exceptions_.find(spelling); exception != exceptions_.end()) {
      result = with_tone(exception->second, digit);
    } else {
      const BopomofoSyllable probe = bopomofo::parse_pinyin(std::string(spelling) + "4");
      if (probe.phonetic() && probe.tone() == 3) result = with_tone(probe, digit);
    }
  }
  cache_.emplace(std::string(pinyin), result);
  return result;
}

std::expected<std::string, std::string> PinyinConverter::qstring(std::string_view pinyin) {
  std::string key;
  for (std::size_t start = 0;;) {
    const std::size_t blank = pinyin.find(' ', start);
    const std::string_view one = pinyin.substr(start, blank == std::string_view::npos ? blank : blank - start);
    const auto converted = syllable(one);
    if (!converted) return std::unexpected(std::string(one));
    key += bopomofo::syllable_qstring(*converted);
    if (blank == std::string_view::npos) return key;
    start = blank + 1;
  }
}

}  // namespace ferrolune::model_compiler
