// The session configuration document and the option records it shares with
// the input operation document.
//
// Every member of a record is optional and takes the record's default when
// absent; unknown and duplicate members are refused. Members whose value
// may be absent ("user_database", the selection-key strings, "cangjie",
// "simplex", and the optional members of the option records) also accept
// JSON null as absent; the others refuse null. Enumerations accept every
// spelling listed below; documents the engine writes use the first.
#pragma once

#include <string_view>

#include "base/options.h"
#include "bopomofo/layout_kind.h"
#include "engine/session_config.h"
#include "ffi/frame.h"
#include "ffi/json/reader.h"

namespace ferrolune::ffi {

inline constexpr json::Spelling kInputMethodSpellings[] = {
    {"traditional", static_cast<int>(InputMethod::Traditional)},
    {"smart", static_cast<int>(InputMethod::Smart)},
    {"cangjie", static_cast<int>(InputMethod::Cangjie)},
    {"simplex", static_cast<int>(InputMethod::Simplex)},
};

inline constexpr json::Spelling kBehaviorProfileSpellings[] = {
    {"desktop", static_cast<int>(BehaviorProfile::Desktop)},
    {"touch", static_cast<int>(BehaviorProfile::Touch)},
};

inline constexpr json::Spelling kLayoutSpellings[] = {
    {"standard", static_cast<int>(bopomofo::BopomofoLayout::Standard)},
    {"Standard", static_cast<int>(bopomofo::BopomofoLayout::Standard)},
    {"hsu", static_cast<int>(bopomofo::BopomofoLayout::Hsu)},
    {"Hsu", static_cast<int>(bopomofo::BopomofoLayout::Hsu)},
    {"eten", static_cast<int>(bopomofo::BopomofoLayout::Eten)},
    {"ETen", static_cast<int>(bopomofo::BopomofoLayout::Eten)},
    {"eten26", static_cast<int>(bopomofo::BopomofoLayout::Eten26)},
    {"ETen26", static_cast<int>(bopomofo::BopomofoLayout::Eten26)},
    {"hanyu_pinyin", static_cast<int>(bopomofo::BopomofoLayout::HanyuPinyin)},
    {"HanyuPinyin", static_cast<int>(bopomofo::BopomofoLayout::HanyuPinyin)},
    {"hanyupinyin", static_cast<int>(bopomofo::BopomofoLayout::HanyuPinyin)},
    {"pinyin", static_cast<int>(bopomofo::BopomofoLayout::HanyuPinyin)},
};

inline constexpr json::Spelling kPunctuationSpellings[] = {
    {"original", static_cast<int>(PunctuationStyle::Original)},
    {"mixed", static_cast<int>(PunctuationStyle::Mixed)},
    {"half", static_cast<int>(PunctuationStyle::Half)},
};

// Enumeration values read with the tables above; `what` names the member.
InputMethod read_input_method(json::Reader& reader, std::string_view what);
BehaviorProfile read_behavior_profile(json::Reader& reader, std::string_view what);
bopomofo::BopomofoLayout read_layout(json::Reader& reader, std::string_view what);

// The option records. Each reads one JSON object; on a refusal the reader
// holds the description and the returned value is meaningless.
BehaviorOptions read_behavior_options(json::Reader& reader);
SmartOptions read_smart_options(json::Reader& reader);
LearningOptions read_learning_options(json::Reader& reader);
TableOptions read_table_options(json::Reader& reader);
TableWildcards read_table_wildcards(json::Reader& reader);

// Reads a whole SessionConfig object.
engine::SessionConfig read_session_config(json::Reader& reader);

// Parses decoded configuration text. Zero-length text is the default
// configuration, exactly as "{}"; a refusal is status 1 with
// "invalid session configuration: " and the reader's description.
Checked<engine::SessionConfig> parse_session_config(std::string_view text);

}  // namespace ferrolune::ffi
