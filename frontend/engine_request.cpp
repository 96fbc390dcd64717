#include "engine_request.h"

#include <cstdio>
#include <vector>

#include <glib.h>

namespace ferrolune::frontend {

namespace {

int int_member(json_object* answer, const char* key, int fallback) {
  json_object* value = nullptr;
  if (!json_object_object_get_ex(answer, key, &value) || !json_object_is_type(value, json_type_int)) {
    return fallback;
  }
  std::int64_t number = json_object_get_int64(value);
  if (number < 0 || number > G_MAXINT) return fallback;
  return static_cast<int>(number);
}

bool bool_member(json_object* object, const char* key) {
  json_object* value = nullptr;
  return json_object_object_get_ex(object, key, &value) && json_object_is_type(value, json_type_boolean) &&
         json_object_get_boolean(value) != 0;
}

const char* string_member(json_object* object, const char* key) {
  json_object* value = nullptr;
  if (!json_object_object_get_ex(object, key, &value) || !json_object_is_type(value, json_type_string)) {
    return "";
  }
  return json_object_get_string(value);
}

// The result's text by the two-call protocol: size first, then exactly
// that many bytes.
bool read_result(const ferrolune_result* result, std::string& text) {
  uint64_t required = 0;
  if (ferrolune_result_read(result, nullptr, 0, &required) != FERROLUNE_BUFFER_TOO_SMALL || required == 0) {
    return false;
  }
  std::vector<char> buffer(required);
  if (ferrolune_result_read(result, buffer.data(), required, &required) != FERROLUNE_OK) return false;
  text.assign(buffer.data(), required - 1);
  return true;
}

}  // namespace

std::string request_text(json_object* request) {
  return json_object_to_json_string_ext(request, JSON_C_TO_STRING_PLAIN | JSON_C_TO_STRING_NOSLASHESCAPE);
}

void write_request_failure(std::FILE* out, const std::string& request, const std::string& message) {
  std::fprintf(out, "tovu: ferrolune: %s: %s\n", request.c_str(), message.c_str());
}

std::string engine_last_error() {
  char buffer[256];
  uint64_t required = 0;
  if (ferrolune_last_error(buffer, sizeof buffer, &required) != FERROLUNE_OK) return "?";
  return buffer;
}

void apply_answer(FrontEndState& state, const HostServices& host, json_object* answer) {
  g_free(state.visible_text);
  state.visible_text = g_strdup(string_member(answer, "visible_text"));
  state.cursor = int_member(answer, "cursor", 0);
  state.page = int_member(answer, "page", 0);
  state.page_count = int_member(answer, "page_count", 0);
  state.highlight = int_member(answer, "highlight", -1);

  if (state.displayed_candidates != nullptr) json_object_put(state.displayed_candidates);
  state.displayed_candidates = nullptr;
  json_object* displayed = nullptr;
  if (json_object_object_get_ex(answer, "displayed_candidates", &displayed) &&
      json_object_is_type(displayed, json_type_array) && json_object_array_length(displayed) > 0) {
    state.displayed_candidates = json_object_get(displayed);
  }

  json_object* effects = nullptr;
  if (json_object_object_get_ex(answer, "effects", &effects) && json_object_is_type(effects, json_type_object)) {
    const char* commit = string_member(effects, "commit");
    if (commit[0] != '\0') host.commit_string(commit);
    state.handled = bool_member(effects, "handled") ? 1 : 0;
    state.send_return = bool_member(effects, "send_return") ? 1 : 0;
  }
}

void send_request(FrontEndState& state, const HostServices& host, json_object* request) {
  state.handled = 0;
  state.send_return = 0;
  if (state.session == nullptr) {
    json_object_put(request);
    return;
  }
  std::string text = request_text(request);
  ferrolune_result* result = nullptr;
  if (ferrolune_session_input(state.session, text.data(), text.size(), &result) != FERROLUNE_OK) {
    write_request_failure(stderr, text, engine_last_error());
  } else {
    std::string answer_text;
    if (read_result(result, answer_text)) {
      json_object* answer = json_tokener_parse(answer_text.c_str());
      if (answer != nullptr && json_object_is_type(answer, json_type_object)) apply_answer(state, host, answer);
      if (answer != nullptr) json_object_put(answer);
    }
    ferrolune_result_free(&result);
  }
  json_object_put(request);
}

int key_consumed(const FrontEndState& state) { return state.handled != 0 && state.send_return == 0 ? 1 : 0; }

void send_reset(FrontEndState& state, const HostServices& host) {
  json_object* request = json_object_new_object();
  json_object_object_add(request, "type", json_object_new_string("reset"));
  send_request(state, host, request);
}

void send_finish(FrontEndState& state, const HostServices& host) {
  json_object* request = json_object_new_object();
  json_object_object_add(request, "type", json_object_new_string("finish_composition"));
  json_object_object_add(request, "complete_reading", json_object_new_boolean(1));
  json_object_object_add(request, "select_highlighted_candidate", json_object_new_boolean(1));
  send_request(state, host, request);
}

}  // namespace ferrolune::frontend
