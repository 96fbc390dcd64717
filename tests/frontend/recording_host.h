// A stand-in for the tovu host's service table: every member the module
// uses is filled, function members with recorders that append one line per
// call to `calls` (and commits and reports to their own lists), data
// members with pointers to the fields below. One RecordingHost is current
// at a time, because the module's calls carry no context.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "tovu_module.h"

namespace ferrolune::test {

class RecordingHost {
 public:
  RecordingHost();
  ~RecordingHost();
  RecordingHost(const RecordingHost&) = delete;
  RecordingHost& operator=(const RecordingHost&) = delete;

  void* table() { return table_.data(); }

  // Lines of the calls in order, such as "place_window 100 220" or
  // "set_candidate 0 把 on=1 index=0".
  std::vector<std::string> calls;
  std::vector<std::string> commits;
  std::vector<std::string> reports;
  bool called(const std::string& line) const;
  // The calls whose line starts with `prefix`.
  std::vector<std::string> calls_starting(const std::string& prefix) const;

  // Answers of input_active and no_window_mode.
  int input_active = 1;
  int no_window = 0;

  // The selection state record; the module sets its ints for the
  // set_candidate calls and restores them.
  std::array<unsigned char, 0x50> selection{};
  int font_size = 12;
  const char* cursor_fg = "white";
  const char* cursor_bg = "#3465a4";
  int show_when_empty = 0;
  int win_x = 100;
  int win_y = 200;
  int win_w = 0;
  int win_h = 20;
  int screen_w = 800;
  int screen_h = 600;

  tovu_select_fn select = nullptr;
  tovu_page_fn page_up = nullptr;
  tovu_page_fn page_down = nullptr;

  int selection_int(int offset) const;
  void set_selection_int(int offset, int value);

  static RecordingHost* current;

 private:
  std::array<unsigned char, TOVU_SERVICE_TABLE_SIZE> table_{};
};

}  // namespace ferrolune::test
