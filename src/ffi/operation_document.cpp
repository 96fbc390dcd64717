#include "ffi/operation_document.h"

#include <array>
#include <span>
#include <vector>

#include "ffi/archive_document.h"
#include "ffi/config_document.h"

namespace ferrolune::ffi {

namespace {

using engine::InputOperation;
using json::FieldSet;
using json::Reader;
using json::Spelling;
using json::TokenKind;
namespace op = engine::op;

constexpr std::string_view kDocument = "input operation";

constexpr Spelling kKeySpellings[] = {
    {"return", 0}, {"enter", 0},   {"space", 1},  {"backspace", 2}, {"escape", 3},
    {"delete", 4}, {"tab", 5},     {"left", 6},   {"right", 7},     {"up", 8},
    {"down", 9},   {"home", 10},   {"end", 11},   {"page_up", 12},  {"page_down", 13},
};

std::vector<Spelling> operation_spellings() {
  std::vector<Spelling> spellings;
  for (int i = 0; i < 32; ++i) spellings.push_back({engine::kOperationNames[i], i});
  return spellings;
}

// Where an operation's fields come from: the members of the object form or
// the elements after the tag in the array form.
enum class Form { Object, Array };

// Reads the fields of one operation. `fields` lists the field names in
// declaration order and `required` marks the required ones; `read_field`
// reads field i. In the object form the tag member "type" is accepted
// among the fields.
template <class ReadField>
void read_fields(Reader& reader, Form form, std::string_view name,
                 std::span<const std::string_view> fields, FieldSet required,
                 ReadField&& read_field) {
  if (form == Form::Array) {
    FieldSet seen = 0;
    for (std::size_t i = 0; i < fields.size() && reader.ok(); ++i) {
      if (reader.next_is(TokenKind::EndArray)) break;
      read_field(i);
      seen |= FieldSet{1} << i;
    }
    if (!reader.ok()) return;
    if (!reader.next_is(TokenKind::EndArray)) {
      reader.next();
      reader.fail("too many elements for operation `" + std::string(name) + "`, expected at most " +
                  std::to_string(fields.size() + 1));
      return;
    }
    reader.require(seen, required, fields);
    reader.next();
    return;
  }
  std::vector<std::string_view> names(fields.begin(), fields.end());
  names.push_back("type");
  const std::size_t tag = fields.size();
  const FieldSet seen = reader.read_object(
      name, names,
      [&](std::size_t index) {
        if (index == tag) {
          reader.skip_value();  // already read by the first pass
        } else {
          read_field(index);
        }
      },
      /*ignore_unknown=*/fields.empty());
  reader.require(seen, required, fields);
}

template <class Op>
Op read_no_fields(Reader& reader, Form form, std::string_view name) {
  read_fields(reader, form, name, {}, 0, [](std::size_t) {});
  return Op{};
}

InputMethod read_method(Reader& reader) {
  return read_input_method(reader, "method");
}

// Reads the operation with ordinal `which`, its tag already consumed in the
// array form.
InputOperation read_operation(Reader& reader, Form form, int which) {
  const std::string_view name = engine::kOperationNames[which];
  static constexpr std::string_view kText[] = {"text"};
  static constexpr std::string_view kTextModifiers[] = {"text", "modifiers"};
  static constexpr std::string_view kKeyModifiers[] = {"key", "modifiers"};
  static constexpr std::string_view kIndex[] = {"index"};
  static constexpr std::string_view kDelta[] = {"delta"};
  static constexpr std::string_view kMethod[] = {"method"};
  static constexpr std::string_view kLayout[] = {"layout"};
  static constexpr std::string_view kProfile[] = {"profile"};
  static constexpr std::string_view kMethodOptions[] = {"method", "options"};
  static constexpr std::string_view kBehaviors[] = {"behaviors"};
  static constexpr std::string_view kOptions[] = {"options"};
  static constexpr std::string_view kPhrase[] = {"qstring", "text"};
  static constexpr std::string_view kUpdate[] = {"qstring", "text", "new_qstring", "new_text"};
  static constexpr std::string_view kPhrases[] = {"phrases"};
  static constexpr std::string_view kLegacy[] = {"path", "method"};
  static constexpr std::string_view kArchive[] = {"archive"};
  static constexpr std::string_view kEnabled[] = {"enabled"};
  static constexpr std::string_view kFinish[] = {"complete_reading", "select_highlighted_candidate",
                                                 "discard_table_code"};

  switch (which) {
    case 0: {
      op::Character value;
      read_fields(reader, form, name, kTextModifiers, 0b01, [&](std::size_t i) {
        if (i == 0) value.text = reader.read_string("text");
        else value.modifiers = read_modifiers(reader);
      });
      return value;
    }
    case 1: {
      op::DirectText value;
      read_fields(reader, form, name, kText, 0b1,
                  [&](std::size_t) { value.text = reader.read_string("text"); });
      return value;
    }
    case 2: {
      op::KeyPress value;
      read_fields(reader, form, name, kKeyModifiers, 0b01, [&](std::size_t i) {
        if (i == 0) value.key = static_cast<engine::Key>(reader.read_enum("key", kKeySpellings));
        else value.modifiers = read_modifiers(reader);
      });
      return value;
    }
    case 3: {
      op::Select value;
      read_fields(reader, form, name, kIndex, 0b1,
                  [&](std::size_t) { value.index = reader.read_index("index"); });
      return value;
    }
    case 4: {
      op::Page value;
      read_fields(reader, form, name, kDelta, 0b1,
                  [&](std::size_t) { value.delta = reader.read_delta("delta"); });
      return value;
    }
    case 5: {
      op::MoveHighlight value;
      read_fields(reader, form, name, kDelta, 0b1,
                  [&](std::size_t) { value.delta = reader.read_delta("delta"); });
      return value;
    }
    case 6: {
      op::SetMethod value;
      read_fields(reader, form, name, kMethod, 0b1,
                  [&](std::size_t) { value.method = read_method(reader); });
      return value;
    }
    case 7: {
      op::SetLayout value;
      read_fields(reader, form, name, kLayout, 0b1, [&](std::size_t) {
        value.layout = static_cast<bopomofo::BopomofoLayout>(reader.read_enum("layout", kLayoutSpellings));
      });
      return value;
    }
    case 8: {
      op::SetProfile value;
      read_fields(reader, form, name, kProfile, 0b1, [&](std::size_t) {
        value.profile = static_cast<BehaviorProfile>(reader.read_enum("profile", kBehaviorProfileSpellings));
      });
      return value;
    }
    case 9: {
      op::SetTableOptions value;
      read_fields(reader, form, name, kMethodOptions, 0b11, [&](std::size_t i) {
        if (i == 0) value.method = read_method(reader);
        else value.options = read_table_options(reader);
      });
      return value;
    }
    case 10: {
      op::SetBehaviors value;
      read_fields(reader, form, name, kBehaviors, 0b1,
                  [&](std::size_t) { value.behaviors = read_behavior_options(reader); });
      return value;
    }
    case 11: {
      op::SetSmartOptions value;
      read_fields(reader, form, name, kOptions, 0b1,
                  [&](std::size_t) { value.options = read_smart_options(reader); });
      return value;
    }
    case 12: {
      op::OpenCandidates value;
      read_fields(reader, form, name, kIndex, 0b1,
                  [&](std::size_t) { value.index = reader.read_index("index"); });
      return value;
    }
    case 13: return read_no_fields<op::CloseCandidates>(reader, form, name);
    case 14: {
      op::SetLearningOptions value;
      read_fields(reader, form, name, kOptions, 0b1,
                  [&](std::size_t) { value.options = read_learning_options(reader); });
      return value;
    }
    case 15:
    case 17: {
      std::string qstring;
      std::string text;
      read_fields(reader, form, name, kPhrase, 0b11, [&](std::size_t i) {
        if (i == 0) qstring = reader.read_string("qstring");
        else text = reader.read_string("text");
      });
      if (which == 15) return op::AddUserPhrase{std::move(qstring), std::move(text)};
      return op::RemoveUserPhrase{std::move(qstring), std::move(text)};
    }
    case 16: {
      op::UpdateUserPhrase value;
      read_fields(reader, form, name, kUpdate, 0b1111, [&](std::size_t i) {
        std::string* targets[] = {&value.qstring, &value.text, &value.new_qstring, &value.new_text};
        *targets[i] = reader.read_string(kUpdate[i]);
      });
      return value;
    }
    case 18: {
      op::ReplaceUserPhrases value;
      read_fields(reader, form, name, kPhrases, 0b1, [&](std::size_t) {
        reader.read_array("phrases",
                          [&](std::size_t) { value.phrases.push_back(read_unigram(reader)); });
      });
      return value;
    }
    case 19: return read_no_fields<op::ResetLearning>(reader, form, name);
    case 20: {
      op::ResetMethodLearning value;
      read_fields(reader, form, name, kMethod, 0b1,
                  [&](std::size_t) { value.method = read_method(reader); });
      return value;
    }
    case 21: return read_no_fields<op::SaveLearning>(reader, form, name);
    case 22: {
      op::ImportLegacyUserData value;
      read_fields(reader, form, name, kLegacy, 0b01, [&](std::size_t i) {
        if (i == 0) value.path = reader.read_string("path");
        else if (!reader.take_null()) value.method = read_method(reader);
      });
      return value;
    }
    case 23: {
      op::ImportUserData value;
      read_fields(reader, form, name, kArchive, 0b1,
                  [&](std::size_t) { value.archive = read_user_archive(reader); });
      return value;
    }
    case 24: {
      op::SetCursor value;
      read_fields(reader, form, name, kIndex, 0b1,
                  [&](std::size_t) { value.index = reader.read_index("index"); });
      return value;
    }
    case 25:
    case 26: {
      bool enabled = false;
      read_fields(reader, form, name, kEnabled, 0b1,
                  [&](std::size_t) { enabled = reader.read_bool("enabled"); });
      if (which == 25) return op::SetEnglish{enabled};
      return op::SetFullWidth{enabled};
    }
    case 27: return read_no_fields<op::ToggleFullWidth>(reader, form, name);
    case 28: return read_no_fields<op::ToggleEnglish>(reader, form, name);
    case 29: {
      op::FinishComposition value;
      read_fields(reader, form, name, kFinish, 0, [&](std::size_t i) {
        bool* targets[] = {&value.complete_reading, &value.select_highlighted_candidate,
                           &value.discard_table_code};
        *targets[i] = reader.read_bool(kFinish[i]);
      });
      return value;
    }
    case 30: return read_no_fields<op::Finish>(reader, form, name);
    default: return read_no_fields<op::Reset>(reader, form, name);
  }
}

// First pass over the object form: finds the tag wherever it stands.
// Returns -1 after a failure.
int find_tag(Reader& reader, std::span<const Spelling> operations) {
  static constexpr std::string_view kTag[] = {"type"};
  int which = -1;
  const FieldSet seen = reader.read_object(
      kDocument, kTag, [&](std::size_t) { which = reader.read_enum("type", operations); },
      /*ignore_unknown=*/true);
  reader.require(seen, 1, kTag);
  reader.finish();
  return reader.ok() ? which : -1;
}

}  // namespace

engine::Modifiers read_modifiers(Reader& reader) {
  static constexpr std::string_view kFields[] = {"shift",     "control", "alt",
                                                 "command",   "caps_lock", "num_lock",
                                                 "keypad",    "repeat",  "release"};
  engine::Modifiers modifiers;
  bool* targets[] = {&modifiers.shift,     &modifiers.control,  &modifiers.alt,
                     &modifiers.command,   &modifiers.caps_lock, &modifiers.num_lock,
                     &modifiers.keypad,    &modifiers.repeat,   &modifiers.release};
  reader.read_object("modifiers", kFields,
                     [&](std::size_t i) { *targets[i] = reader.read_bool(kFields[i]); });
  return modifiers;
}

Checked<InputOperation> parse_input_operation(std::string_view text) {
  static const std::vector<Spelling> operations = operation_spellings();
  constexpr std::string_view prefix = "invalid input operation: ";

  Reader first(text);
  const TokenKind root = first.peek().kind;
  if (!first.ok()) return invalid_argument(std::string(prefix) + first.error());
  if (root == TokenKind::StartArray) {
    return parse_document(text, prefix, [&](Reader& reader) -> InputOperation {
      reader.next();
      if (reader.next_is(TokenKind::EndArray)) {
        reader.next();
        reader.fail("empty operation array, expected the operation type first");
        return op::Reset{};
      }
      const int which = reader.read_enum("type", operations);
      if (!reader.ok()) return op::Reset{};
      return read_operation(reader, Form::Array, which);
    });
  }
  if (root != TokenKind::StartObject) {
    const json::Token token = first.next();
    first.fail("invalid type: " + Reader::describe(token) + ", expected an operation object or array");
    return invalid_argument(std::string(prefix) + first.error());
  }
  const int which = find_tag(first, operations);
  if (which < 0) return invalid_argument(std::string(prefix) + first.error());
  return parse_document(text, prefix,
                        [&](Reader& reader) { return read_operation(reader, Form::Object, which); });
}

}  // namespace ferrolune::ffi
