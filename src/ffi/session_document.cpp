#include "ffi/session_document.h"

#include "ffi/json/writer.h"

namespace ferrolune::ffi {

namespace {

void write_optional_string(json::Writer& out, const std::optional<std::string>& value) {
  if (value) out.string(*value);
  else out.null();
}

void write_table_options(json::Writer& out, const TableOptions& options) {
  out.begin_object();
  out.key("realtime").boolean(options.realtime);
  out.key("prefix").boolean(options.prefix);
  out.key("clear_on_error").boolean(options.clear_on_error);
  out.key("query_at_maximum").boolean(options.query_at_maximum);
  out.key("learn_selection").boolean(options.learn_selection);
  out.key("punctuation").string(punctuation_name(options.punctuation));
  out.key("maximum_radical_length");
  if (options.maximum_radical_length) out.unsigned_number(*options.maximum_radical_length);
  else out.null();
  out.key("space_as_first_selection_key").boolean(options.space_as_first_selection_key);
  out.key("space_commits_first_on_single_page");
  if (options.space_commits_first_on_single_page) out.boolean(*options.space_commits_first_on_single_page);
  else out.null();
  out.key("wildcards");
  if (options.wildcards) {
    out.begin_object();
    out.key("one");
    write_optional_string(out, options.wildcards->one);
    out.key("many");
    write_optional_string(out, options.wildcards->many);
    out.end_object();
  } else {
    out.null();
  }
  out.end_object();
}

void write_effects(json::Writer& out, const engine::Effects& effects) {
  out.begin_object();
  out.key("commit").string(effects.commit);
  out.key("handled").boolean(effects.handled);
  out.key("beep").boolean(effects.beep);
  out.key("delete_backward").boolean(effects.delete_backward);
  out.key("send_return").boolean(effects.send_return);
  out.key("discard_composition").boolean(effects.discard_composition);
  out.key("phrase_feedback");
  if (effects.phrase_feedback) {
    out.begin_object();
    out.key("text").string(effects.phrase_feedback->text);
    out.key("added").boolean(effects.phrase_feedback->added);
    out.end_object();
  } else {
    out.null();
  }
  out.end_object();
}

}  // namespace

std::expected<std::string, std::string> write_session_document(const engine::InputSession& session,
                                                               const engine::Effects& effects) {
  const engine::SessionState& state = session.state();
  const userdata::LearningState& learning = *state.learning;
  json::Writer out;
  out.begin_object();
  out.key("schema_version").unsigned_number(1);
  out.key("kind").string("session");
  out.key("method").string(method_name(state.method));
  out.key("profile").string(profile_name(state.profile));
  out.key("layout").string(bopomofo::layout_name(state.layout));
  out.key("english").boolean(state.english);
  out.key("full_width").boolean(state.full_width);
  out.key("behaviors").begin_object();
  out.key("ignore_caps_lock_in_chinese").boolean(state.behaviors.ignore_caps_lock_in_chinese);
  out.key("literal_keypad").boolean(state.behaviors.literal_keypad);
  out.end_object();
  out.key("composition").string(session.composition());
  out.key("visible_text").string(session.visible_text());

  const SmartOptions& smart = state.smart_options;
  out.key("smart_options").begin_object();
  out.key("use_bigrams").boolean(smart.use_bigrams);
  out.key("space_opens_candidates").boolean(smart.space_opens_candidates);
  out.key("candidate_cursor_at_end").boolean(smart.candidate_cursor_at_end);
  out.key("clear_composing_with_escape").boolean(smart.clear_composing_with_escape);
  out.key("shift_always_uppercase").boolean(smart.shift_always_uppercase);
  out.key("max_completed_syllables").unsigned_number(smart.max_completed_syllables);
  out.key("shift_at_limit").boolean(smart.shift_at_limit);
  out.key("selection_returns_to_end").boolean(smart.selection_returns_to_end);
  out.key("candidate_selection_keys");
  write_optional_string(out, smart.candidate_selection_keys);
  out.end_object();

  const LearningOptions& options = state.learning_options;
  out.key("learning").begin_object();
  out.key("user_phrases").boolean(options.user_phrases);
  out.key("candidate_overrides").boolean(options.candidate_overrides);
  out.key("bigrams").boolean(options.bigrams);
  out.key("table_learning").boolean(options.table_learning);
  out.end_object();

  out.key("user_data").begin_object();
  out.key("generation").signed_number(learning.generation);
  out.key("revision").signed_number(learning.revision);
  out.key("phrases").unsigned_number(learning.phrases.size());
  out.key("overrides").unsigned_number(learning.overrides.size());
  out.key("bigrams").unsigned_number(learning.bigrams.size());
  out.key("table_entries").unsigned_number(learning.table_counts.size());
  out.end_object();

  out.key("readings").begin_array();
  if (state.method == InputMethod::Smart) {
    for (const std::string& reading : state.smart.readings) out.string(reading);
  }
  out.end_array();
  out.key("reading_cursor").unsigned_number(state.method == InputMethod::Smart ? state.smart.cursor : 0);
  out.key("segments").begin_array().end_array();
  out.key("candidate_spans").begin_array().end_array();
  out.key("marked_phrase").null();
  out.key("reading").string(session.reading());
  out.key("phonetic").string(session.phonetic());
  out.key("code").string(session.code());
  out.key("cursor").unsigned_number(session.cursor());
  out.key("cursor_unit").string("unicode_scalar");

  out.key("candidates").begin_array();
  for (const std::string& candidate : state.candidates) out.string(candidate);
  out.end_array();
  out.key("displayed_candidates").begin_array();
  const std::size_t first = state.page * state.page_size;
  for (std::size_t i = first; i < state.candidates.size() && i < first + state.page_size; ++i) {
    out.string(state.candidates[i]);
  }
  out.end_array();
  out.key("page").unsigned_number(state.page);
  out.key("page_size").unsigned_number(state.page_size);
  out.key("page_count").unsigned_number(session.page_count());
  out.key("highlight");
  if (state.candidates.empty()) out.null();
  else out.unsigned_number(state.highlight);
  out.key("table_options");
  write_table_options(out, session.effective_table_options());
  out.key("effects");
  write_effects(out, effects);
  out.end_object();
  return out.take();
}

std::expected<std::string, std::string> write_user_data_document(const userdata::LearningState& state) {
  json::Writer out;
  out.begin_object();
  out.key("schema_version").unsigned_number(1);
  out.key("kind").string("user_data");
  out.key("data").begin_object();
  out.key("generation").signed_number(state.generation);
  out.key("revision").signed_number(state.revision);
  out.key("phrases").begin_array();
  for (const model::Unigram& phrase : state.phrases) {
    out.begin_object();
    out.key("qstring").string(phrase.qstring);
    out.key("current").string(phrase.current);
    out.key("probability").number(phrase.probability);
    out.key("backoff").number(phrase.backoff);
    out.end_object();
  }
  out.end_array();
  out.key("overrides").begin_array();
  for (const userdata::CandidateOverride& entry : state.overrides) {
    out.begin_object();
    out.key("qstring").string(entry.qstring);
    out.key("current").string(entry.current);
    out.end_object();
  }
  out.end_array();
  out.key("bigrams").begin_array();
  for (const model::Bigram& bigram : state.bigrams) {
    out.begin_object();
    out.key("qstring").string(bigram.qstring);
    out.key("previous").string(bigram.previous);
    out.key("current").string(bigram.current);
    out.key("probability").number(bigram.probability);
    out.end_object();
  }
  out.end_array();
  out.key("table").begin_array();
  for (const userdata::TableLearning& entry : state.table_counts) {
    out.begin_object();
    out.key("method").string(entry.method);
    out.key("code").string(entry.code);
    out.key("current").string(entry.current);
    out.key("count").signed_number(entry.count);
    out.end_object();
  }
  out.end_array();
  out.end_object();
  out.end_object();
  return out.take();
}

}  // namespace ferrolune::ffi
