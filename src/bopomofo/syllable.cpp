#include "bopomofo/syllable.h"

#include "base/utf8.h"

namespace ferrolune::bopomofo {

namespace {

// The symbol of field value v is base + v.
constexpr char32_t kInitialBase = U'\u3104';
constexpr char32_t kMedialBase = U'\u3126';
constexpr char32_t kFinalBase = U'\u3119';
constexpr char32_t kToneMarks[kToneCount] = {U'\u02CA', U'\u02C7', U'\u02CB', U'\u02D9'};

}  // namespace

std::string render_bopomofo(BopomofoSyllable syllable) {
  std::string text;
  if (syllable.initial()) base::append_utf8(text, kInitialBase + syllable.initial());
  if (syllable.medial()) base::append_utf8(text, kMedialBase + syllable.medial());
  if (syllable.final()) base::append_utf8(text, kFinalBase + syllable.final());
  if (syllable.tone()) base::append_utf8(text, kToneMarks[syllable.tone() - 1]);
  return text;
}

}  // namespace ferrolune::bopomofo
