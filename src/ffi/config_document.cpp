#include "ffi/config_document.h"

#include <optional>
#include <string>

namespace ferrolune::ffi {

namespace {

using json::Reader;

std::optional<std::string> read_optional_string(Reader& reader, std::string_view what) {
  if (reader.take_null()) return std::nullopt;
  return reader.read_string(what);
}

std::optional<std::string> read_optional_char(Reader& reader, std::string_view what) {
  if (reader.take_null()) return std::nullopt;
  return reader.read_char(what);
}

}  // namespace

InputMethod read_input_method(Reader& reader, std::string_view what) {
  return static_cast<InputMethod>(reader.read_enum(what, kInputMethodSpellings));
}

BehaviorProfile read_behavior_profile(Reader& reader, std::string_view what) {
  return static_cast<BehaviorProfile>(reader.read_enum(what, kBehaviorProfileSpellings));
}

bopomofo::BopomofoLayout read_layout(Reader& reader, std::string_view what) {
  return static_cast<bopomofo::BopomofoLayout>(reader.read_enum(what, kLayoutSpellings));
}

BehaviorOptions read_behavior_options(Reader& reader) {
  static constexpr std::string_view kFields[] = {"ignore_caps_lock_in_chinese", "literal_keypad"};
  BehaviorOptions options;
  reader.read_object("behavior options", kFields, [&](std::size_t i) {
    bool& target = i == 0 ? options.ignore_caps_lock_in_chinese : options.literal_keypad;
    target = reader.read_bool(kFields[i]);
  });
  return options;
}

SmartOptions read_smart_options(Reader& reader) {
  static constexpr std::string_view kFields[] = {
      "use_bigrams",           "space_opens_candidates",  "candidate_cursor_at_end",
      "clear_composing_with_escape", "shift_always_uppercase", "max_completed_syllables",
      "shift_at_limit",        "selection_returns_to_end", "candidate_selection_keys"};
  SmartOptions options;
  bool* const switches[] = {&options.use_bigrams,
                            &options.space_opens_candidates,
                            &options.candidate_cursor_at_end,
                            &options.clear_composing_with_escape,
                            &options.shift_always_uppercase,
                            nullptr,
                            &options.shift_at_limit,
                            &options.selection_returns_to_end};
  reader.read_object("smart options", kFields, [&](std::size_t i) {
    if (i == 5) {
      options.max_completed_syllables = reader.read_u32(kFields[i]);
    } else if (i == 8) {
      options.candidate_selection_keys = read_optional_string(reader, kFields[i]);
    } else {
      *switches[i] = reader.read_bool(kFields[i]);
    }
  });
  return options;
}

LearningOptions read_learning_options(Reader& reader) {
  static constexpr std::string_view kFields[] = {"user_phrases", "candidate_overrides", "bigrams",
                                                 "table_learning"};
  LearningOptions options;
  bool* const switches[] = {&options.user_phrases, &options.candidate_overrides, &options.bigrams,
                            &options.table_learning};
  reader.read_object("learning options", kFields,
                     [&](std::size_t i) { *switches[i] = reader.read_bool(kFields[i]); });
  return options;
}

TableWildcards read_table_wildcards(Reader& reader) {
  static constexpr std::string_view kFields[] = {"one", "many"};
  TableWildcards wildcards;
  reader.read_object("table wildcards", kFields, [&](std::size_t i) {
    (i == 0 ? wildcards.one : wildcards.many) = read_optional_char(reader, kFields[i]);
  });
  return wildcards;
}

TableOptions read_table_options(Reader& reader) {
  static constexpr std::string_view kFields[] = {"realtime",
                                                 "prefix",
                                                 "clear_on_error",
                                                 "query_at_maximum",
                                                 "learn_selection",
                                                 "punctuation",
                                                 "maximum_radical_length",
                                                 "space_as_first_selection_key",
                                                 "space_commits_first_on_single_page",
                                                 "wildcards"};
  TableOptions options;
  bool* const switches[] = {&options.realtime,         &options.prefix,
                            &options.clear_on_error,   &options.query_at_maximum,
                            &options.learn_selection,  nullptr,
                            nullptr,                   &options.space_as_first_selection_key};
  reader.read_object("table options", kFields, [&](std::size_t i) {
    const std::string_view what = kFields[i];
    switch (i) {
      case 5:
        options.punctuation =
            static_cast<PunctuationStyle>(reader.read_enum(what, kPunctuationSpellings));
        break;
      case 6:
        if (reader.take_null()) {
          options.maximum_radical_length.reset();
        } else {
          options.maximum_radical_length = reader.read_u32(what);
        }
        break;
      case 8:
        if (reader.take_null()) {
          options.space_commits_first_on_single_page.reset();
        } else {
          options.space_commits_first_on_single_page = reader.read_bool(what);
        }
        break;
      case 9:
        if (reader.take_null()) {
          options.wildcards.reset();
        } else {
          options.wildcards = read_table_wildcards(reader);
        }
        break;
      default:
        *switches[i] = reader.read_bool(what);
        break;
    }
  });
  return options;
}

engine::SessionConfig read_session_config(Reader& reader) {
  static constexpr std::string_view kFields[] = {"method",
                                                 "profile",
                                                 "layout",
                                                 "behaviors",
                                                 "smart",
                                                 "learning",
                                                 "user_database",
                                                 "traditional_selection_keys",
                                                 "table_selection_keys",
                                                 "cangjie",
                                                 "simplex"};
  engine::SessionConfig config;
  reader.read_object("session configuration", kFields, [&](std::size_t i) {
    const std::string_view what = kFields[i];
    switch (i) {
      case 0: config.method = read_input_method(reader, what); break;
      case 1: config.profile = read_behavior_profile(reader, what); break;
      case 2: config.layout = read_layout(reader, what); break;
      case 3: config.behaviors = read_behavior_options(reader); break;
      case 4: config.smart = read_smart_options(reader); break;
      case 5: config.learning = read_learning_options(reader); break;
      case 6: config.user_database = read_optional_string(reader, what); break;
      case 7: config.traditional_selection_keys = read_optional_string(reader, what); break;
      case 8: config.table_selection_keys = read_optional_string(reader, what); break;
      default: {
        auto& table = i == 9 ? config.cangjie : config.simplex;
        if (reader.take_null()) {
          table.reset();
        } else {
          table = read_table_options(reader);
        }
        break;
      }
    }
  });
  return config;
}

Checked<engine::SessionConfig> parse_session_config(std::string_view text) {
  if (text.empty()) return engine::SessionConfig{};
  return parse_document(text, "invalid session configuration: ",
                        [](Reader& reader) { return read_session_config(reader); });
}

}  // namespace ferrolune::ffi
