#include "candidate_window.h"

#include <cstring>
#include <string>

#include <gtk/gtk.h>

#include "label_markup.h"
#include "window_geometry.h"

namespace ferrolune::frontend {

namespace {

void show_resized(FrontEndState& state, const HostServices& host) {
  gtk_window_resize(GTK_WINDOW(state.window), 1, 1);
  gtk_widget_show(state.window);
  host.win_shown();
}

int read_int(const unsigned char* record, std::size_t offset) {
  int value = 0;
  std::memcpy(&value, record + offset, sizeof value);
  return value;
}

void write_int(unsigned char* record, std::size_t offset, int value) {
  std::memcpy(record + offset, &value, sizeof value);
}

void hand_candidates_to_host(const FrontEndState& state, const HostServices& host) {
  unsigned char* selection = host.selection_state();
  int saved_on = 0;
  int saved_index = 0;
  if (selection != nullptr) {
    saved_on = read_int(selection, TOVU_SELECTION_HIGHLIGHT_ON);
    saved_index = read_int(selection, TOVU_SELECTION_HIGHLIGHT_INDEX);
    write_int(selection, TOVU_SELECTION_HIGHLIGHT_ON, state.highlight >= 0 ? 1 : 0);
    write_int(selection, TOVU_SELECTION_HIGHLIGHT_INDEX, state.highlight);
  }
  std::size_t count = json_object_array_length(state.displayed_candidates);
  for (std::size_t i = 0; i < count; ++i) {
    json_object* candidate = json_object_array_get_idx(state.displayed_candidates, i);
    const char* text = json_object_is_type(candidate, json_type_string) ? json_object_get_string(candidate) : "";
    host.set_candidate(static_cast<int>(i), text);
  }
  if (selection != nullptr) {
    write_int(selection, TOVU_SELECTION_HIGHLIGHT_ON, saved_on);
    write_int(selection, TOVU_SELECTION_HIGHLIGHT_INDEX, saved_index);
  }
}

}  // namespace

void build_candidate_window(FrontEndState& state, const HostServices& host) {
  state.window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_resizable(GTK_WINDOW(state.window), FALSE);
  gtk_widget_realize(state.window);
  host.setup_popup(state.window);

  state.label = gtk_label_new(nullptr);
  gtk_container_add(GTK_CONTAINER(state.window), state.label);
  gtk_widget_show(state.label);

  host.win_setup_done();
  host.style_window(state.window);
  host.set_widget_font(state.label, HostServices::value(host.font_size()));

  gtk_widget_hide(state.window);
  host.candidates_hidden();
  host.win_hidden();
}

void hide_candidate_window(FrontEndState& state, const HostServices& host) {
  if (state.window == nullptr) return;
  gtk_widget_hide(state.window);
  host.candidates_hidden();
  host.win_hidden();
}

void redraw_window(FrontEndState& state, const HostServices& host) {
  if (!is_composing(state)) {
    hide_candidate_window(state, host);
    return;
  }
  if (state.label != nullptr) {
    std::string markup = build_label_markup(state.visible_text, state.cursor, host.cursor_bg(), host.cursor_fg());
    gtk_label_set_markup(GTK_LABEL(state.label), markup.c_str());
  }
  if (state.window != nullptr && host.no_window_mode() == 0) show_resized(state, host);
  host.clear_candidates();
  if (state.displayed_candidates == nullptr) {
    host.candidates_hidden();
    return;
  }
  hand_candidates_to_host(state, host);
  if (state.page > 0) host.mark_prev_page();
  if (state.page + 1 < state.page_count) host.mark_next_page();
  int y = HostServices::value(host.win_y());
  if (host.no_window_mode() == 0) y += HostServices::value(host.win_h());
  host.place_window(HostServices::value(host.win_x()), y);
}

void show_window(FrontEndState& state, const HostServices& host) {
  if (state.window == nullptr || host.no_window_mode() != 0) return;
  if (is_composing(state) || HostServices::value(host.show_when_empty()) != 0) show_resized(state, host);
}

bool window_visible(const FrontEndState& state) {
  return state.window != nullptr && gtk_widget_get_visible(state.window);
}

void move_window(FrontEndState& state, const HostServices& host, int x, int y) {
  if (state.window == nullptr) return;
  int width = 0;
  int height = 0;
  gtk_window_get_size(GTK_WINDOW(state.window), &width, &height);
  if (int* w = host.win_w()) *w = width;
  if (int* h = host.win_h()) *h = height;
  int placed_x = clamp_to_screen(x, width, HostServices::value(host.screen_w()));
  int placed_y = clamp_to_screen(y, height, HostServices::value(host.screen_h()));
  gtk_window_move(GTK_WINDOW(state.window), placed_x, placed_y);
  if (int* wx = host.win_x()) *wx = placed_x;
  if (int* wy = host.win_y()) *wy = placed_y;
  host.win_moved();
}

void store_window_geometry(FrontEndState& state, const HostServices& host) {
  if (state.window == nullptr) return;
  int x = 0;
  int y = 0;
  gtk_window_get_position(GTK_WINDOW(state.window), &x, &y);
  if (int* wx = host.win_x()) *wx = x;
  if (int* wy = host.win_y()) *wy = y;
  host.get_window_size(state.window, host.win_w(), host.win_h());
}

void apply_font_size(FrontEndState& state, const HostServices& host) {
  if (state.window == nullptr) return;
  host.style_window(state.window);
  host.set_widget_font(state.label, HostServices::value(host.font_size()));
}

}  // namespace ferrolune::frontend
