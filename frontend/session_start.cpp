#include "session_start.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include <glib.h>
#include <glib/gstdio.h>
#include <json-c/json.h>

#include "engine_request.h"
#include "settings.h"

namespace ferrolune::frontend {

namespace {

std::string owned(gchar* text) {
  std::string result = text;
  g_free(text);
  return result;
}

bool exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

std::string reset_marker_path() { return owned(ferrolune_home_path("reset-learning")); }

std::string settings_path() { return owned(ferrolune_conf_path()); }

}  // namespace

std::string keyboard_file_path() {
  return owned(g_build_filename(home_directory(), ".tovu", "config", "phonetic-keyboard2", nullptr));
}

std::string user_data_directory() {
  return owned(g_build_filename(home_directory(), ".tovu", "ferrolune", nullptr));
}

std::string user_database_path() {
  return owned(g_build_filename(user_data_directory().c_str(), "ferrolune-user.db", nullptr));
}

std::int64_t file_mtime(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return 0;
  return static_cast<std::int64_t>(info.st_mtime);
}

KeyboardChoice read_keyboard_file(const std::string& path) {
  KeyboardChoice choice;
  FILE* file = std::fopen(path.c_str(), "r");
  if (file == nullptr) return choice;
  char line[256];
  if (std::fgets(line, sizeof line, file) != nullptr) {
    char name[32] = "zo";
    char keys[33] = "123456789";
    if (std::sscanf(line, "%31s %32s", name, keys) >= 1) {
      choice.layout_name = name;
      choice.selection_keys = keys;
    }
  }
  std::fclose(file);
  return choice;
}

const char* engine_layout(std::string_view layout_name) {
  if (layout_name == "hsu") return "hsu";
  if (layout_name == "et") return "eten";
  if (layout_name == "et26") return "eten26";
  if (layout_name == "pinyin") return "hanyu_pinyin";
  return "standard";
}

void apply_reset_marker(const std::string& user_database) {
  std::string marker = reset_marker_path();
  if (!exists(marker)) return;
  for (const char* suffix : {"", "-wal", "-shm", "-journal"}) g_unlink((user_database + suffix).c_str());
  g_unlink(marker.c_str());
}

std::string build_session_config(const ferrolune_conf& conf, const KeyboardChoice& keyboard,
                                 const std::string& user_database) {
  json_object* config = json_object_new_object();
  json_object_object_add(config, "method",
                         json_object_new_string(conf.method_traditional != 0 ? "traditional" : "smart"));
  json_object_object_add(config, "profile", json_object_new_string("desktop"));
  json_object_object_add(config, "layout", json_object_new_string(engine_layout(keyboard.layout_name)));
  json_object_object_add(config, "user_database", json_object_new_string(user_database.c_str()));

  json_object* learning = json_object_new_object();
  for (const char* key : {"user_phrases", "candidate_overrides", "bigrams"}) {
    json_object_object_add(learning, key, json_object_new_boolean(conf.learning != 0));
  }
  json_object_object_add(config, "learning", learning);

  json_object* smart = json_object_new_object();
  json_object_object_add(smart, "candidate_selection_keys",
                         json_object_new_string(keyboard.selection_keys.c_str()));
  json_object_object_add(smart, "space_opens_candidates", json_object_new_boolean(conf.space_opens_candidates != 0));
  json_object_object_add(smart, "candidate_cursor_at_end",
                         json_object_new_boolean(conf.candidate_cursor_at_end != 0));
  json_object_object_add(smart, "selection_returns_to_end",
                         json_object_new_boolean(conf.selection_returns_to_end != 0));
  json_object_object_add(smart, "clear_composing_with_escape",
                         json_object_new_boolean(conf.clear_composing_with_escape != 0));
  json_object_object_add(smart, "max_completed_syllables", json_object_new_int(conf.max_completed_syllables));
  json_object_object_add(config, "smart", smart);

  json_object_object_add(config, "traditional_selection_keys",
                         json_object_new_string(keyboard.selection_keys.c_str()));
  std::string text = request_text(config);
  json_object_put(config);
  return text;
}

extern "C" int accept_candidate_text(void* /*context*/, const char* text, uint64_t length) {
  if (length == 0) return 1;
  if (text == nullptr || length > G_MAXSSIZE) return 0;
  const char* end = text + length;
  for (const char* p = text; p < end;) {
    gunichar character = g_utf8_get_char_validated(p, end - p);
    if (character == static_cast<gunichar>(-1) || character == static_cast<gunichar>(-2)) return 0;
    if ((character >= 0xE000 && character <= 0xF8FF) || character > 0xEFFFF) return 0;
    p = g_utf8_next_char(p);
  }
  return 1;
}

int start_session(FrontEndState& state, const HostServices& host, std::string_view model_path) {
  std::string model(model_path);
  if (access(model.c_str(), R_OK) != 0) {
    host.report("Ferrolune's model is not in /usr/local/share/tovu/ferrolune");
    return 0;
  }
  std::string keyboard_path = keyboard_file_path();
  state.keyboard_mtime = file_mtime(keyboard_path);
  KeyboardChoice keyboard = read_keyboard_file(keyboard_path);

  g_mkdir_with_parents(user_data_directory().c_str(), 0700);
  std::string user_database = user_database_path();
  apply_reset_marker(user_database);

  state.settings_mtime = file_mtime(settings_path());
  ferrolune_conf conf{};
  ferrolune_conf_load(&conf);
  std::string config = build_session_config(conf, keyboard, user_database);

  ferrolune_session* session = nullptr;
  if (ferrolune_session_new_filtered(model.data(), model.size(), config.data(), config.size(),
                                     accept_candidate_text, nullptr, &session) != FERROLUNE_OK) {
    host.report(("Ferrolune cannot start: " + engine_last_error()).c_str());
    state.session = nullptr;
    return 0;
  }
  state.session = session;
  return 1;
}

void restart_if_changed(FrontEndState& state, const HostServices& host, std::string_view model_path) {
  bool restart = file_mtime(settings_path()) != state.settings_mtime ||
                 file_mtime(keyboard_file_path()) != state.keyboard_mtime || exists(reset_marker_path());
  if (!restart) return;
  ferrolune_session_free(&state.session);
  start_session(state, host, model_path);
}

}  // namespace ferrolune::frontend
