// The option records and enumerations that configure a session. They are
// plain values with the documented defaults; parsing lives in the call
// frame, validation beside the session configuration.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace ferrolune {

// Ordinals are fixed: other code indexes tables by them.
enum class InputMethod : std::uint8_t { Traditional = 0, Smart = 1, Cangjie = 2, Simplex = 3 };
enum class BehaviorProfile : std::uint8_t { Desktop = 0, Touch = 1 };
enum class PunctuationStyle : std::uint8_t { Original = 0, Mixed = 1, Half = 2 };

struct BehaviorOptions {
  bool ignore_caps_lock_in_chinese = false;
  bool literal_keypad = true;
  friend bool operator==(const BehaviorOptions&, const BehaviorOptions&) = default;
};

struct SmartOptions {
  bool use_bigrams = true;
  bool space_opens_candidates = true;
  bool candidate_cursor_at_end = false;
  bool clear_composing_with_escape = false;
  bool shift_always_uppercase = false;
  std::uint32_t max_completed_syllables = 10;
  bool shift_at_limit = false;
  bool selection_returns_to_end = false;
  std::optional<std::string> candidate_selection_keys;
  friend bool operator==(const SmartOptions&, const SmartOptions&) = default;
};

struct LearningOptions {
  bool user_phrases = true;
  bool candidate_overrides = false;
  bool bigrams = false;
  bool table_learning = false;
  friend bool operator==(const LearningOptions&, const LearningOptions&) = default;
};

// Each symbol is one character (a UTF-8 string of one scalar) when set.
struct TableWildcards {
  std::optional<std::string> one;
  std::optional<std::string> many;
  friend bool operator==(const TableWildcards&, const TableWildcards&) = default;
};

struct TableOptions {
  bool realtime = false;
  bool prefix = false;
  bool clear_on_error = true;
  bool query_at_maximum = false;
  bool learn_selection = true;
  PunctuationStyle punctuation = PunctuationStyle::Original;
  std::optional<std::uint32_t> maximum_radical_length;
  bool space_as_first_selection_key = false;
  std::optional<bool> space_commits_first_on_single_page;
  std::optional<TableWildcards> wildcards;
  friend bool operator==(const TableOptions&, const TableOptions&) = default;
};

// The names written in documents (the first accepted spelling).
const char* method_name(InputMethod method) noexcept;
const char* profile_name(BehaviorProfile profile) noexcept;
const char* punctuation_name(PunctuationStyle style) noexcept;

}  // namespace ferrolune
