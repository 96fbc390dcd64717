// Starting and restarting the engine session. start_session reads the
// host's keyboard file (layout name and selection keys), honours a pending
// reset marker by deleting the user database and its companion files,
// loads the settings and creates the session from a SessionConfig built
// from all of them. A failure is reported through the host and leaves no
// session. The restart check starts a new session when, while nothing is
// composed, the settings file or the keyboard file changed or a reset
// marker appeared.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "frontend_state.h"
#include "host_services.h"
#include "tovu_module.h"

namespace ferrolune::frontend {

// What the first line of the keyboard file says.
struct KeyboardChoice {
  std::string layout_name = "zo";
  std::string selection_keys = "123456789";
};

// HOME/.tovu/config/phonetic-keyboard2.
std::string keyboard_file_path();
// HOME/.tovu/ferrolune, and the user database inside it.
std::string user_data_directory();
std::string user_database_path();

// Modification time in seconds, 0 when the file cannot be examined.
std::int64_t file_mtime(const std::string& path);

KeyboardChoice read_keyboard_file(const std::string& path);

// The engine's layout name for a keyboard file's layout name.
const char* engine_layout(std::string_view layout_name);

// Deletes the user database, its "-wal", "-shm" and "-journal" files and
// then the marker, when the marker exists. Missing files are ignored.
void apply_reset_marker(const std::string& user_database);

// The SessionConfig document, compact, members in their fixed order.
std::string build_session_config(const ferrolune_conf& conf, const KeyboardChoice& keyboard,
                                 const std::string& user_database);

// The candidate filter: refuses texts with private-use characters
// (U+E000..U+F8FF) or characters above U+EFFFF, and malformed UTF-8.
extern "C" int accept_candidate_text(void* context, const char* text, uint64_t length);

// Returns 1 with state.session set, or 0 after reporting the failure.
int start_session(FrontEndState& state, const HostServices& host, std::string_view model_path);

// Runs the restart rules; call only while not composing.
void restart_if_changed(FrontEndState& state, const HostServices& host, std::string_view model_path);

}  // namespace ferrolune::frontend
