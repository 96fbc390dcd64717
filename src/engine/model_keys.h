// The special keys the session looks up in the model: punctuation of one
// keyboard layout or of all layouts, and the lists typed with Control.
// Traditional Bopomofo finds them in the phonetic table, Smart Mandarin
// among the language model's readings; only their spelling is fixed here,
// their values come with the model.
#pragma once

#include <string>
#include <string_view>

#include "bopomofo/layout_kind.h"

namespace ferrolune::engine {

// Typed with Control and "0" or "1".
inline constexpr std::string_view kPunctuationListKey = "_punctuation_list";

// "_punctuation_Standard_<": the punctuation of one layout.
std::string layout_punctuation_key(bopomofo::BopomofoLayout layout, std::string_view character);

// "_punctuation_<": punctuation shared by every layout.
std::string general_punctuation_key(std::string_view character);

// The list typed with Control and a character: "_ctrl_opt_" + the
// character when Alt is held too, kPunctuationListKey for "0" and "1",
// otherwise "_ctrl_" + the character.
std::string control_list_key(std::string_view character, bool alt);

}  // namespace ferrolune::engine
