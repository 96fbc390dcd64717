// The exported entry points of the tovu module. They run on the host's GUI
// thread and share one FrontEndState; the module never frees its session
// or its windows, because the host has no call to unload it cleanly.
#include <string_view>

#include "candidate_window.h"
#include "engine_request.h"
#include "frontend_state.h"
#include "host_services.h"
#include "key_translation.h"
#include "preedit.h"
#include "session_start.h"
#include "settings_dialog.h"
#include "tovu_module.h"

#ifndef FERROLUNE_MODEL_PATH
#define FERROLUNE_MODEL_PATH "/usr/local/share/tovu/ferrolune/ZezAri.db"
#endif

namespace ferrolune::frontend {
namespace {

constexpr std::string_view kModelPath = FERROLUNE_MODEL_PATH;

FrontEndState& state() {
  static FrontEndState* instance = new FrontEndState;
  return *instance;
}

HostServices& host() {
  static HostServices* instance = new HostServices;
  return *instance;
}

int on_select(unsigned index) {
  json_object* request = json_object_new_object();
  json_object_object_add(request, "type", json_object_new_string("select"));
  json_object_object_add(request, "index", json_object_new_uint64(index));
  send_request(state(), host(), request);
  redraw_window(state(), host());
  return 1;
}

void send_page_key(const char* key) {
  json_object* request = json_object_new_object();
  json_object_object_add(request, "type", json_object_new_string("key"));
  json_object_object_add(request, "key", json_object_new_string(key));
  send_request(state(), host(), request);
  redraw_window(state(), host());
}

void on_page_up() { send_page_key("page_up"); }
void on_page_down() { send_page_key("page_down"); }

}  // namespace
}  // namespace ferrolune::frontend

using namespace ferrolune::frontend;

extern "C" int module_init_win(void* services) {
  host() = HostServices(services);
  host().win_setup_begin();
  host().register_callbacks(on_select, on_page_up, on_page_down);
  if (state().window != nullptr) return 1;
  if (ferrolune_abi_version() != 1) {
    host().report("Ferrolune's C interface is not version 1");
    return 0;
  }
  if (state().session == nullptr && start_session(state(), host(), kModelPath) == 0) return 0;
  build_candidate_window(state(), host());
  return 1;
}

extern "C" int module_feedkey(int keysym, int modifiers) {
  FrontEndState& s = state();
  if (s.session == nullptr) return 0;
  if (!is_composing(s)) restart_if_changed(s, host(), kModelPath);
  if (s.session == nullptr) return 0;
  auto mask = static_cast<unsigned>(modifiers);
  if (host().input_active() == 0) {
    if (is_composing(s)) module_flush_input();
    return 0;
  }
  if ((mask & kMod1Mask) != 0) return 0;
  if ((mask & kLockMask) != 0) {
    if (is_composing(s)) module_flush_input();
    return 0;
  }
  json_object* request = translate_key(static_cast<unsigned>(keysym), mask);
  if (request == nullptr) return 0;
  send_request(s, host(), request);
  redraw_window(s, host());
  return key_consumed(s);
}

extern "C" int module_feedkey_release(int, int) { return 0; }

extern "C" int module_get_preedit(char* text, tovu_preedit_attribute* attrs, int* cursor, int* extra) {
  return copy_preedit(state().visible_text, state().cursor, text, attrs, cursor, extra);
}

extern "C" int module_reset(void) {
  FrontEndState& s = state();
  if (s.session == nullptr) return 0;
  bool composing = is_composing(s);
  send_reset(s, host());
  hide_candidate_window(s, host());
  return composing ? 1 : 0;
}

extern "C" int module_flush_input(void) {
  FrontEndState& s = state();
  if (s.session == nullptr) return 0;
  if (is_composing(s)) send_finish(s, host());
  hide_candidate_window(s, host());
  return 0;
}

extern "C" void module_move_win(int x, int y) { move_window(state(), host(), x, y); }

extern "C" void module_change_font_size(void) { apply_font_size(state(), host()); }

extern "C" void module_show_win(void) { show_window(state(), host()); }

extern "C" void module_hide_win(void) { hide_candidate_window(state(), host()); }

extern "C" int module_win_visible(void) { return window_visible(state()) ? 1 : 0; }

extern "C" void module_get_win_geom(void) { store_window_geometry(state(), host()); }

extern "C" void module_setup_window_create(void) { open_settings_dialog(); }
