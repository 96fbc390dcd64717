// tovu-lite's side of the module interface: the service table filled with
// this host's functions and data, and the candidate popup it draws from
// the module's clear_candidates, set_candidate, mark_*_page and
// place_window calls. One LiteHost exists per process, because the module
// calls back without a context pointer.
#pragma once

#include <gtk/gtk.h>

#include <array>
#include <string>

#include "tovu_module.h"

namespace tovu_lite {

class LiteHost {
 public:
  // Loads the module from `module_path`; on failure `error()` says why.
  explicit LiteHost(const std::string& module_path);

  bool loaded() const { return module_ != nullptr; }
  const std::string& error() const { return error_; }

  // Hands the service table to the module; false when it would not start.
  bool start(GtkTextBuffer* target, GtkLabel* status);
  bool started() const { return started_; }

  // A key press for the module; true when the module consumed it. The
  // module's window is moved under `caret` (root coordinates) first.
  bool key_press(unsigned keyval, unsigned state, const GdkRectangle& caret);
  // Commits what is composed, as when the text area loses the focus.
  void flush();
  void open_settings();

  static LiteHost* current;

  // Called from the table's functions.
  void commit(const char* text);
  void report(const std::string& message);
  void clear_candidates();
  void set_candidate(int index, const char* text);
  void mark_page(bool next);
  void place_candidates(int x, int y);
  void hide_candidates();
  tovu_select_fn select = nullptr;
  tovu_page_fn page_up = nullptr;
  tovu_page_fn page_down = nullptr;
  int selection_int(std::size_t offset) const;

 private:
  template <typename Fn>
  Fn entry(const char* name) const;
  void fill_table();

  void* module_ = nullptr;
  std::string error_;
  bool started_ = false;
  GtkTextBuffer* target_ = nullptr;
  GtkLabel* status_ = nullptr;
  std::string selection_keys_ = "123456789";

  GtkWidget* popup_ = nullptr;
  GtkWidget* prev_mark_ = nullptr;
  GtkWidget* next_mark_ = nullptr;
  GtkWidget* candidates_ = nullptr;

  std::array<unsigned char, TOVU_SERVICE_TABLE_SIZE> table_{};
  std::array<unsigned char, 0x50> selection_{};
  int font_size_ = 14;
  const char* cursor_fg_ = "white";
  const char* cursor_bg_ = "#3465a4";
  int show_when_empty_ = 0;
  int win_x_ = 0;
  int win_y_ = 0;
  int win_w_ = 0;
  int win_h_ = 0;
  int screen_w_ = 0;
  int screen_h_ = 0;
};

}  // namespace tovu_lite
