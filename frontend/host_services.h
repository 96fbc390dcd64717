// The host's service table as the module holds it: a private copy of the
// whole table, read at fixed offsets. Every call tolerates a member the
// host left null: a null function is not called and a null data pointer
// reads as 0 (or an empty text), so a sparse host cannot crash the module.
#pragma once

#include <array>
#include <cstddef>
#include <cstring>

#include "tovu_module.h"

typedef struct _GtkWidget GtkWidget;

namespace ferrolune::frontend {

class HostServices {
 public:
  HostServices() = default;
  // Copies TOVU_SERVICE_TABLE_SIZE bytes from `table`.
  explicit HostServices(const void* table);

  void win_shown() const { call_void(TOVU_WIN_SHOWN); }
  void win_hidden() const { call_void(TOVU_WIN_HIDDEN); }
  void win_moved() const { call_void(TOVU_WIN_MOVED); }
  void win_setup_done() const { call_void(TOVU_WIN_SETUP_DONE); }
  void clear_candidates() const { call_void(TOVU_CLEAR_CANDIDATES); }
  void place_window(int x, int y) const;
  void candidates_hidden() const { call_void(TOVU_CANDIDATES_HIDDEN); }
  void mark_prev_page() const { call_void(TOVU_MARK_PREV_PAGE); }
  void mark_next_page() const { call_void(TOVU_MARK_NEXT_PAGE); }
  void set_candidate(int index, const char* text) const;
  void register_callbacks(tovu_select_fn select, tovu_page_fn page_up, tovu_page_fn page_down) const;
  void win_setup_begin() const { call_void(TOVU_WIN_SETUP_BEGIN); }
  // A host without the function counts as active.
  int input_active() const;
  void get_window_size(GtkWidget* window, int* w, int* h) const;
  void style_window(GtkWidget* window) const { call_widget(TOVU_STYLE_WINDOW, window); }
  void set_widget_font(GtkWidget* widget, int size) const;
  void setup_popup(GtkWidget* window) const { call_widget(TOVU_SETUP_POPUP, window); }
  // Passes `message` through the host's printf-style report function.
  void report(const char* message) const;
  int no_window_mode() const;
  void commit_string(const char* utf8) const;

  // The selection state record, or null.
  unsigned char* selection_state() const { return member<unsigned char*>(TOVU_SELECTION_STATE); }
  int* font_size() const { return member<int*>(TOVU_FONT_SIZE); }
  const char* cursor_fg() const;
  const char* cursor_bg() const;
  int* show_when_empty() const { return member<int*>(TOVU_SHOW_WHEN_EMPTY); }
  int* win_x() const { return member<int*>(TOVU_WIN_X); }
  int* win_y() const { return member<int*>(TOVU_WIN_Y); }
  int* win_w() const { return member<int*>(TOVU_WIN_W); }
  int* win_h() const { return member<int*>(TOVU_WIN_H); }
  int* screen_w() const { return member<int*>(TOVU_SCREEN_W); }
  int* screen_h() const { return member<int*>(TOVU_SCREEN_H); }

  // The value behind an int member, 0 when the host gave none.
  static int value(const int* member) { return member != nullptr ? *member : 0; }

 private:
  template <typename T>
  T member(std::size_t offset) const {
    T loaded{};
    std::memcpy(&loaded, table_.data() + offset, sizeof loaded);
    return loaded;
  }
  void call_void(std::size_t offset) const;
  void call_widget(std::size_t offset, GtkWidget* widget) const;

  std::array<unsigned char, TOVU_SERVICE_TABLE_SIZE> table_{};
};

}  // namespace ferrolune::frontend
