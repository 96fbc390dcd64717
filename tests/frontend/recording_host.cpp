#include "recording_host.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace ferrolune::test {

RecordingHost* RecordingHost::current = nullptr;

namespace {

RecordingHost& host() { return *RecordingHost::current; }

template <typename T>
void put(std::array<unsigned char, TOVU_SERVICE_TABLE_SIZE>& table, std::size_t offset, T value) {
  std::memcpy(table.data() + offset, &value, sizeof value);
}

template <const char* Name>
void record() {
  host().calls.emplace_back(Name);
}

constexpr char kWinShown[] = "win_shown";
constexpr char kWinHidden[] = "win_hidden";
constexpr char kWinMoved[] = "win_moved";
constexpr char kWinSetupDone[] = "win_setup_done";
constexpr char kClearCandidates[] = "clear_candidates";
constexpr char kCandidatesHidden[] = "candidates_hidden";
constexpr char kMarkPrevPage[] = "mark_prev_page";
constexpr char kMarkNextPage[] = "mark_next_page";
constexpr char kWinSetupBegin[] = "win_setup_begin";

void place_window(int x, int y) { host().calls.push_back("place_window " + std::to_string(x) + " " + std::to_string(y)); }

void set_candidate(int index, const char* text, int last) {
  host().calls.push_back("set_candidate " + std::to_string(index) + " " + text + " on=" +
                         std::to_string(host().selection_int(TOVU_SELECTION_HIGHLIGHT_ON)) +
                         " index=" + std::to_string(host().selection_int(TOVU_SELECTION_HIGHLIGHT_INDEX)) +
                         " last=" + std::to_string(last));
}

void register_callbacks(tovu_select_fn select, tovu_page_fn page_up, tovu_page_fn page_down) {
  host().calls.emplace_back("register_callbacks");
  host().select = select;
  host().page_up = page_up;
  host().page_down = page_down;
}

int answer_input_active() { return host().input_active; }
int answer_no_window_mode() { return host().no_window; }

void get_window_size(void*, int* w, int* h) {
  host().calls.emplace_back("get_window_size");
  *w = 55;
  *h = 33;
}

void style_window(void*) { host().calls.emplace_back("style_window"); }
void set_widget_font(void*, int size) { host().calls.push_back("set_widget_font " + std::to_string(size)); }
void setup_popup(void*) { host().calls.emplace_back("setup_popup"); }

void report(const char* format, ...) {
  char buffer[1024];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(buffer, sizeof buffer, format, arguments);
  va_end(arguments);
  host().reports.emplace_back(buffer);
}

void commit_string(const char* text) { host().commits.emplace_back(text); }

}  // namespace

RecordingHost::RecordingHost() {
  current = this;
  put(table_, TOVU_WIN_SHOWN, &record<kWinShown>);
  put(table_, TOVU_WIN_HIDDEN, &record<kWinHidden>);
  put(table_, TOVU_WIN_MOVED, &record<kWinMoved>);
  put(table_, TOVU_WIN_SETUP_DONE, &record<kWinSetupDone>);
  put(table_, TOVU_CLEAR_CANDIDATES, &record<kClearCandidates>);
  put(table_, TOVU_PLACE_WINDOW, &place_window);
  put(table_, TOVU_CANDIDATES_HIDDEN, &record<kCandidatesHidden>);
  put(table_, TOVU_MARK_PREV_PAGE, &record<kMarkPrevPage>);
  put(table_, TOVU_MARK_NEXT_PAGE, &record<kMarkNextPage>);
  put(table_, TOVU_SET_CANDIDATE, &set_candidate);
  put(table_, TOVU_REGISTER_CALLBACKS, &register_callbacks);
  put(table_, TOVU_WIN_SETUP_BEGIN, &record<kWinSetupBegin>);
  put(table_, TOVU_INPUT_ACTIVE, &answer_input_active);
  put(table_, TOVU_GET_WINDOW_SIZE, &get_window_size);
  put(table_, TOVU_STYLE_WINDOW, &style_window);
  put(table_, TOVU_SET_WIDGET_FONT, &set_widget_font);
  put(table_, TOVU_SETUP_POPUP, &setup_popup);
  put(table_, TOVU_REPORT, &report);
  put(table_, TOVU_NO_WINDOW_MODE, &answer_no_window_mode);
  put(table_, TOVU_COMMIT_STRING, &commit_string);
  put(table_, TOVU_SELECTION_STATE, selection.data());
  put(table_, TOVU_FONT_SIZE, &font_size);
  put(table_, TOVU_CURSOR_FG, &cursor_fg);
  put(table_, TOVU_CURSOR_BG, &cursor_bg);
  put(table_, TOVU_SHOW_WHEN_EMPTY, &show_when_empty);
  put(table_, TOVU_WIN_X, &win_x);
  put(table_, TOVU_WIN_Y, &win_y);
  put(table_, TOVU_WIN_W, &win_w);
  put(table_, TOVU_WIN_H, &win_h);
  put(table_, TOVU_SCREEN_W, &screen_w);
  put(table_, TOVU_SCREEN_H, &screen_h);
}

RecordingHost::~RecordingHost() {
  if (current == this) current = nullptr;
}

bool RecordingHost::called(const std::string& line) const {
  for (const std::string& call : calls) {
    if (call == line) return true;
  }
  return false;
}

std::vector<std::string> RecordingHost::calls_starting(const std::string& prefix) const {
  std::vector<std::string> matching;
  for (const std::string& call : calls) {
    if (call.starts_with(prefix)) matching.push_back(call);
  }
  return matching;
}

int RecordingHost::selection_int(int offset) const {
  int value = 0;
  std::memcpy(&value, selection.data() + offset, sizeof value);
  return value;
}

void RecordingHost::set_selection_int(int offset, int value) {
  std::memcpy(selection.data() + offset, &value, sizeof value);
}

}  // namespace ferrolune::test
