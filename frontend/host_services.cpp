#include "host_services.h"

namespace ferrolune::frontend {

namespace {

using VoidFn = void (*)();
using WidgetFn = void (*)(GtkWidget*);

}  // namespace

HostServices::HostServices(const void* table) {
  if (table != nullptr) std::memcpy(table_.data(), table, table_.size());
}

void HostServices::call_void(std::size_t offset) const {
  if (auto fn = member<VoidFn>(offset)) fn();
}

void HostServices::call_widget(std::size_t offset, GtkWidget* widget) const {
  if (auto fn = member<WidgetFn>(offset)) fn(widget);
}

void HostServices::place_window(int x, int y) const {
  if (auto fn = member<void (*)(int, int)>(TOVU_PLACE_WINDOW)) fn(x, y);
}

void HostServices::set_candidate(int index, const char* text) const {
  if (auto fn = member<void (*)(int, const char*, int)>(TOVU_SET_CANDIDATE)) fn(index, text, -1);
}

void HostServices::register_callbacks(tovu_select_fn select, tovu_page_fn page_up,
                                      tovu_page_fn page_down) const {
  using Fn = void (*)(tovu_select_fn, tovu_page_fn, tovu_page_fn);
  if (auto fn = member<Fn>(TOVU_REGISTER_CALLBACKS)) fn(select, page_up, page_down);
}

int HostServices::input_active() const {
  auto fn = member<int (*)()>(TOVU_INPUT_ACTIVE);
  return fn != nullptr ? fn() : 1;
}

void HostServices::get_window_size(GtkWidget* window, int* w, int* h) const {
  if (auto fn = member<void (*)(GtkWidget*, int*, int*)>(TOVU_GET_WINDOW_SIZE)) fn(window, w, h);
}

void HostServices::set_widget_font(GtkWidget* widget, int size) const {
  if (auto fn = member<void (*)(GtkWidget*, int)>(TOVU_SET_WIDGET_FONT)) fn(widget, size);
}

void HostServices::report(const char* message) const {
  // The message goes in as an argument, never as the format, so that a
  // percent sign in an engine message is printed and not interpreted.
  if (auto fn = member<void (*)(const char*, ...)>(TOVU_REPORT)) fn("%s", message);
}

int HostServices::no_window_mode() const {
  auto fn = member<int (*)()>(TOVU_NO_WINDOW_MODE);
  return fn != nullptr ? fn() : 0;
}

void HostServices::commit_string(const char* utf8) const {
  if (auto fn = member<void (*)(const char*)>(TOVU_COMMIT_STRING)) fn(utf8);
}

const char* HostServices::cursor_fg() const {
  auto colour = member<char**>(TOVU_CURSOR_FG);
  return colour != nullptr && *colour != nullptr ? *colour : "white";
}

const char* HostServices::cursor_bg() const {
  auto colour = member<char**>(TOVU_CURSOR_BG);
  return colour != nullptr && *colour != nullptr ? *colour : "blue";
}

}  // namespace ferrolune::frontend
