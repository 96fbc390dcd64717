#include "settings.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <glib.h>
#include <json-c/json.h>

namespace ferrolune::frontend {

namespace {

struct BoolMember {
  const char* key;
  int32_t ferrolune_conf::*field;
};

constexpr BoolMember kBoolMembers[] = {
    {"learning", &ferrolune_conf::learning},
    {"space_opens_candidates", &ferrolune_conf::space_opens_candidates},
    {"candidate_cursor_at_end", &ferrolune_conf::candidate_cursor_at_end},
    {"selection_returns_to_end", &ferrolune_conf::selection_returns_to_end},
    {"clear_composing_with_escape", &ferrolune_conf::clear_composing_with_escape},
};

bool write_all(const char* path, const char* text) {
  FILE* file = std::fopen(path, "w");
  if (file == nullptr) return false;
  std::size_t length = std::strlen(text);
  bool ok = std::fwrite(text, 1, length, file) == length && std::fputc('\n', file) != EOF;
  ok = std::fflush(file) == 0 && ok;
  ok = std::fclose(file) == 0 && ok;
  return ok;
}

}  // namespace

ferrolune_conf default_conf() {
  return ferrolune_conf{.method_traditional = 0,
                        .learning = 1,
                        .space_opens_candidates = 1,
                        .candidate_cursor_at_end = 0,
                        .selection_returns_to_end = 0,
                        .clear_composing_with_escape = 0,
                        .max_completed_syllables = 10};
}

const char* home_directory() {
  const char* home = std::getenv("HOME");
  return home != nullptr ? home : "";
}

}  // namespace ferrolune::frontend

using namespace ferrolune::frontend;

extern "C" char* ferrolune_conf_path(void) {
  return g_build_filename(home_directory(), ".tovu", "config", "ferrolune.json", nullptr);
}

extern "C" char* ferrolune_home_path(const char* name) {
  return g_build_filename(home_directory(), ".tovu", "ferrolune", name != nullptr ? name : "", nullptr);
}

extern "C" void ferrolune_conf_load(ferrolune_conf* conf) {
  if (conf == nullptr) return;
  *conf = default_conf();
  gchar* path = ferrolune_conf_path();
  json_object* root = json_object_from_file(path);
  g_free(path);
  if (root == nullptr) return;
  if (json_object_is_type(root, json_type_object)) {
    json_object* value = nullptr;
    if (json_object_object_get_ex(root, "method", &value) && json_object_is_type(value, json_type_string)) {
      conf->method_traditional = std::strcmp(json_object_get_string(value), "traditional") == 0 ? 1 : 0;
    }
    for (const BoolMember& member : kBoolMembers) {
      if (json_object_object_get_ex(root, member.key, &value) && json_object_is_type(value, json_type_boolean)) {
        conf->*member.field = json_object_get_boolean(value) ? 1 : 0;
      }
    }
    if (json_object_object_get_ex(root, "max_completed_syllables", &value) &&
        json_object_is_type(value, json_type_int)) {
      int64_t limit = json_object_get_int64(value);
      if (limit >= 10 && limit <= 20) conf->max_completed_syllables = static_cast<int32_t>(limit);
    }
  }
  json_object_put(root);
}

extern "C" int ferrolune_conf_save(const ferrolune_conf* conf) {
  if (conf == nullptr) return 0;
  json_object* root = json_object_new_object();
  json_object_object_add(root, "method",
                         json_object_new_string(conf->method_traditional != 0 ? "traditional" : "smart"));
  for (const BoolMember& member : kBoolMembers) {
    json_object_object_add(root, member.key, json_object_new_boolean(conf->*member.field != 0));
  }
  json_object_object_add(root, "max_completed_syllables", json_object_new_int(conf->max_completed_syllables));
  std::string text = json_object_to_json_string_ext(root, JSON_C_TO_STRING_PRETTY | JSON_C_TO_STRING_NOSLASHESCAPE);
  json_object_put(root);

  gchar* path = ferrolune_conf_path();
  gchar* directory = g_path_get_dirname(path);
  g_mkdir_with_parents(directory, 0700);
  g_free(directory);
  std::string temporary = std::string(path) + ".tmp";
  bool ok = write_all(temporary.c_str(), text.c_str()) && std::rename(temporary.c_str(), path) == 0;
  if (!ok) std::remove(temporary.c_str());
  g_free(path);
  return ok ? 1 : 0;
}
