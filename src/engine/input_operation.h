// InputOperation: one request to change an input session, as the caller's
// operation document describes it. The variant's alternatives are in the
// documents' declaration order, so `index()` is the operation's ordinal.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "base/options.h"
#include "bopomofo/layout_kind.h"
#include "model/records.h"
#include "userdata/user_archive.h"

namespace ferrolune::engine {

// The named keys. Return is also spelled "enter" in documents.
enum class Key : std::uint8_t {
  Return,
  Space,
  Backspace,
  Escape,
  Delete,
  Tab,
  Left,
  Right,
  Up,
  Down,
  Home,
  End,
  PageUp,
  PageDown,
};

const char* key_name(Key key) noexcept;

struct Modifiers {
  bool shift = false;
  bool control = false;
  bool alt = false;
  bool command = false;
  bool caps_lock = false;
  bool num_lock = false;
  bool keypad = false;
  bool repeat = false;
  bool release = false;
  friend bool operator==(const Modifiers&, const Modifiers&) = default;
};

namespace op {

struct Character {
  std::string text;
  Modifiers modifiers;
};
struct DirectText {
  std::string text;
};
struct KeyPress {
  Key key = Key::Return;
  Modifiers modifiers;
};
struct Select {
  std::uint64_t index = 0;
};
struct Page {
  std::int32_t delta = 0;
};
struct MoveHighlight {
  std::int32_t delta = 0;
};
struct SetMethod {
  InputMethod method = InputMethod::Traditional;
};
struct SetLayout {
  bopomofo::BopomofoLayout layout = bopomofo::BopomofoLayout::Standard;
};
struct SetProfile {
  BehaviorProfile profile = BehaviorProfile::Desktop;
};
struct SetTableOptions {
  InputMethod method = InputMethod::Cangjie;
  TableOptions options;
};
struct SetBehaviors {
  BehaviorOptions behaviors;
};
struct SetSmartOptions {
  SmartOptions options;
};
struct OpenCandidates {
  std::uint64_t index = 0;
};
struct CloseCandidates {};
struct SetLearningOptions {
  LearningOptions options;
};
struct AddUserPhrase {
  std::string qstring;
  std::string text;
};
struct UpdateUserPhrase {
  std::string qstring;
  std::string text;
  std::string new_qstring;
  std::string new_text;
};
struct RemoveUserPhrase {
  std::string qstring;
  std::string text;
};
struct ReplaceUserPhrases {
  std::vector<model::Unigram> phrases;
};
struct ResetLearning {};
struct ResetMethodLearning {
  InputMethod method = InputMethod::Traditional;
};
struct SaveLearning {};
struct ImportLegacyUserData {
  std::string path;
  std::optional<InputMethod> method;
};
struct ImportUserData {
  userdata::UserArchive archive;
};
struct SetCursor {
  std::uint64_t index = 0;
};
struct SetEnglish {
  bool enabled = false;
};
struct SetFullWidth {
  bool enabled = false;
};
struct ToggleFullWidth {};
struct ToggleEnglish {};
struct FinishComposition {
  bool complete_reading = false;
  bool select_highlighted_candidate = false;
  bool discard_table_code = false;
};
struct Finish {};
struct Reset {};

}  // namespace op

using InputOperation =
    std::variant<op::Character, op::DirectText, op::KeyPress, op::Select, op::Page,
                 op::MoveHighlight, op::SetMethod, op::SetLayout, op::SetProfile,
                 op::SetTableOptions, op::SetBehaviors, op::SetSmartOptions, op::OpenCandidates,
                 op::CloseCandidates, op::SetLearningOptions, op::AddUserPhrase,
                 op::UpdateUserPhrase, op::RemoveUserPhrase, op::ReplaceUserPhrases,
                 op::ResetLearning, op::ResetMethodLearning, op::SaveLearning,
                 op::ImportLegacyUserData, op::ImportUserData, op::SetCursor, op::SetEnglish,
                 op::SetFullWidth, op::ToggleFullWidth, op::ToggleEnglish,
                 op::FinishComposition, op::Finish, op::Reset>;

// The "type" tag of each alternative, by ordinal.
extern const char* const kOperationNames[32];

}  // namespace ferrolune::engine
