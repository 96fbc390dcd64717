// parse_pinyin: one Hanyu Pinyin spelling (lower-case ASCII, tone digit
// last) to a BopomofoSyllable.
//
// The text is scanned once, left to right, by a fixed sequence of steps
// (whole-syllable y-spellings, one initial letter, apical initials, rhymes,
// one medial letter, finals, tone digit); each step takes at most one
// match. Nothing fails: unknown letters are left unread and whatever the
// steps consumed makes the syllable, possibly the empty one. Spellings that
// are not standard Pinyin still give a definite result (lv4 is ㄌㄩˋ,
// jong ㄐㄨㄥ, yuang ㄍㄩㄢ). Upper-case letters are not folded here; the
// composer stores its text in lower case.
#pragma once

#include <string_view>

#include "bopomofo/syllable.h"

namespace ferrolune::bopomofo {

BopomofoSyllable parse_pinyin(std::string_view text) noexcept;

}  // namespace ferrolune::bopomofo
