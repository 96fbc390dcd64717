// compose_keys: the syllable a key text types on one of the four key
// layouts.
//
// On standard and eten every key carries one component and the keys are
// merged in order. On hsu and eten26 a key may carry two or three
// components; which one it types is decided from the whole key text (is a
// medial key before or after it, may a tone key follow, what the syllable
// holds so far), and on hsu a final pass turns a lone ㄥ into ㄦ and ㄍ
// before ㄧ or ㄩ into ㄐ. The result depends only on the key text, which is
// why the composer can re-derive it from the syllable after every key.
// Characters that are not keys of the layout are skipped; hanyu_pinyin
// composes nothing.
#pragma once

#include <string_view>

#include "bopomofo/layout_kind.h"
#include "bopomofo/syllable.h"

namespace ferrolune::bopomofo {

BopomofoSyllable compose_keys(BopomofoLayout layout, std::string_view keys);

}  // namespace ferrolune::bopomofo
