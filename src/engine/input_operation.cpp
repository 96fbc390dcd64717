#include "engine/input_operation.h"

namespace ferrolune::engine {

static_assert(std::variant_size_v<InputOperation> == 32);

const char* const kOperationNames[32] = {
    "character",          "direct_text",          "key",
    "select",             "page",                 "move_highlight",
    "set_method",         "set_layout",           "set_profile",
    "set_table_options",  "set_behaviors",        "set_smart_options",
    "open_candidates",    "close_candidates",     "set_learning_options",
    "add_user_phrase",    "update_user_phrase",   "remove_user_phrase",
    "replace_user_phrases", "reset_learning",     "reset_method_learning",
    "save_learning",      "import_legacy_user_data", "import_user_data",
    "set_cursor",         "set_english",          "set_full_width",
    "toggle_full_width",  "toggle_english",       "finish_composition",
    "finish",             "reset",
};

const char* key_name(Key key) noexcept {
  static constexpr const char* names[] = {"return", "space", "backspace", "escape", "delete",
                                          "tab",    "left",  "right",     "up",     "down",
                                          "home",   "end",   "page_up",   "page_down"};
  return names[static_cast<int>(key)];
}

}  // namespace ferrolune::engine
