#include "lite_host.h"

#include <dlfcn.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace tovu_lite {

LiteHost* LiteHost::current = nullptr;

namespace {

LiteHost& host() { return *LiteHost::current; }

template <typename T>
void put(std::array<unsigned char, TOVU_SERVICE_TABLE_SIZE>& table, std::size_t offset, T value) {
  std::memcpy(table.data() + offset, &value, sizeof value);
}

void nothing() {}

void table_clear_candidates() { host().clear_candidates(); }
void table_place_window(int x, int y) { host().place_candidates(x, y); }
void table_candidates_hidden() { host().hide_candidates(); }
void table_mark_prev_page() { host().mark_page(false); }
void table_mark_next_page() { host().mark_page(true); }
void table_set_candidate(int index, const char* text, int) { host().set_candidate(index, text); }

void table_register_callbacks(tovu_select_fn select, tovu_page_fn page_up, tovu_page_fn page_down) {
  host().select = select;
  host().page_up = page_up;
  host().page_down = page_down;
}

int table_input_active() { return 1; }
int table_no_window_mode() { return 0; }

void table_get_window_size(GtkWidget* window, int* w, int* h) { gtk_window_get_size(GTK_WINDOW(window), w, h); }

void style_window(GtkWidget* window) {
  GtkCssProvider* css = gtk_css_provider_new();
  gtk_css_provider_load_from_data(css, "window { background: #fdf6e3; border: 1px solid #93a1a1; }", -1, nullptr);
  gtk_style_context_add_provider(gtk_widget_get_style_context(window), GTK_STYLE_PROVIDER(css),
                                 GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  g_object_unref(css);
}

void set_widget_font(GtkWidget* widget, int size) {
  GtkCssProvider* css = gtk_css_provider_new();
  gchar* rule = g_strdup_printf("label { font-size: %dpt; padding: 2px 4px; }", size);
  gtk_css_provider_load_from_data(css, rule, -1, nullptr);
  gtk_style_context_add_provider(gtk_widget_get_style_context(widget), GTK_STYLE_PROVIDER(css),
                                 GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  g_free(rule);
  g_object_unref(css);
}

void setup_popup(GtkWidget* window) {
  gtk_window_set_decorated(GTK_WINDOW(window), FALSE);
  gtk_window_set_accept_focus(GTK_WINDOW(window), FALSE);
  gtk_window_set_keep_above(GTK_WINDOW(window), TRUE);
  gtk_window_set_skip_taskbar_hint(GTK_WINDOW(window), TRUE);
  gtk_window_set_type_hint(GTK_WINDOW(window), GDK_WINDOW_TYPE_HINT_TOOLTIP);
}

void table_report(const char* format, ...) {
  char buffer[1024];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(buffer, sizeof buffer, format, arguments);
  va_end(arguments);
  host().report(buffer);
}

void table_commit_string(const char* text) { host().commit(text); }

gboolean on_candidate_clicked(GtkWidget*, GdkEventButton*, gpointer index) {
  if (host().select != nullptr) host().select(static_cast<unsigned>(GPOINTER_TO_INT(index)));
  return TRUE;
}

gboolean on_mark_clicked(GtkWidget*, GdkEventButton*, gpointer next) {
  tovu_page_fn page = next != nullptr ? host().page_down : host().page_up;
  if (page != nullptr) page();
  return TRUE;
}

GtkWidget* clickable(GtkWidget* child, GCallback handler, gpointer data) {
  GtkWidget* box = gtk_event_box_new();
  gtk_container_add(GTK_CONTAINER(box), child);
  g_signal_connect(box, "button-press-event", handler, data);
  return box;
}

std::string keyboard_selection_keys() {
  const char* home = std::getenv("HOME");
  gchar* path = g_build_filename(home != nullptr ? home : "", ".tovu", "config", "phonetic-keyboard2", nullptr);
  std::string keys = "123456789";
  if (FILE* file = std::fopen(path, "r")) {
    char line[256];
    char name[32];
    char found[33];
    if (std::fgets(line, sizeof line, file) != nullptr && std::sscanf(line, "%31s %32s", name, found) == 2) {
      keys = found;
    }
    std::fclose(file);
  }
  g_free(path);
  return keys;
}

}  // namespace

LiteHost::LiteHost(const std::string& module_path) {
  current = this;
  module_ = dlopen(module_path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module_ == nullptr) error_ = dlerror();
}

template <typename Fn>
Fn LiteHost::entry(const char* name) const {
  return reinterpret_cast<Fn>(dlsym(module_, name));
}

void LiteHost::fill_table() {
  put(table_, TOVU_WIN_SHOWN, &nothing);
  put(table_, TOVU_WIN_HIDDEN, &nothing);
  put(table_, TOVU_WIN_MOVED, &nothing);
  put(table_, TOVU_WIN_SETUP_DONE, &nothing);
  put(table_, TOVU_CLEAR_CANDIDATES, &table_clear_candidates);
  put(table_, TOVU_PLACE_WINDOW, &table_place_window);
  put(table_, TOVU_CANDIDATES_HIDDEN, &table_candidates_hidden);
  put(table_, TOVU_MARK_PREV_PAGE, &table_mark_prev_page);
  put(table_, TOVU_MARK_NEXT_PAGE, &table_mark_next_page);
  put(table_, TOVU_SET_CANDIDATE, &table_set_candidate);
  put(table_, TOVU_REGISTER_CALLBACKS, &table_register_callbacks);
  put(table_, TOVU_WIN_SETUP_BEGIN, &nothing);
  put(table_, TOVU_INPUT_ACTIVE, &table_input_active);
  put(table_, TOVU_GET_WINDOW_SIZE, &table_get_window_size);
  put(table_, TOVU_STYLE_WINDOW, &style_window);
  put(table_, TOVU_SET_WIDGET_FONT, &set_widget_font);
  put(table_, TOVU_SETUP_POPUP, &setup_popup);
  put(table_, TOVU_REPORT, &table_report);
  put(table_, TOVU_NO_WINDOW_MODE, &table_no_window_mode);
  put(table_, TOVU_COMMIT_STRING, &table_commit_string);
  put(table_, TOVU_SELECTION_STATE, selection_.data());
  put(table_, TOVU_FONT_SIZE, &font_size_);
  put(table_, TOVU_CURSOR_FG, &cursor_fg_);
  put(table_, TOVU_CURSOR_BG, &cursor_bg_);
  put(table_, TOVU_SHOW_WHEN_EMPTY, &show_when_empty_);
  put(table_, TOVU_WIN_X, &win_x_);
  put(table_, TOVU_WIN_Y, &win_y_);
  put(table_, TOVU_WIN_W, &win_w_);
  put(table_, TOVU_WIN_H, &win_h_);
  put(table_, TOVU_SCREEN_W, &screen_w_);
  put(table_, TOVU_SCREEN_H, &screen_h_);
}

bool LiteHost::start(GtkTextBuffer* target, GtkLabel* status) {
  target_ = target;
  status_ = status;
  selection_keys_ = keyboard_selection_keys();
  GdkRectangle screen{};
  gdk_monitor_get_geometry(gdk_display_get_monitor(gdk_display_get_default(), 0), &screen);
  screen_w_ = screen.width;
  screen_h_ = screen.height;

  popup_ = gtk_window_new(GTK_WINDOW_POPUP);
  GtkWidget* row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 6);
  gtk_container_set_border_width(GTK_CONTAINER(row), 4);
  gtk_container_add(GTK_CONTAINER(popup_), row);
  prev_mark_ = clickable(gtk_label_new("◀"), G_CALLBACK(on_mark_clicked), nullptr);
  candidates_ = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 8);
  next_mark_ = clickable(gtk_label_new("▶"), G_CALLBACK(on_mark_clicked), GINT_TO_POINTER(1));
  gtk_box_pack_start(GTK_BOX(row), prev_mark_, FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(row), candidates_, FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(row), next_mark_, FALSE, FALSE, 0);
  style_window(popup_);

  fill_table();
  if (!loaded()) return false;
  started_ = entry<int (*)(void*)>("module_init_win")(table_.data()) == 1;
  return started_;
}

bool LiteHost::key_press(unsigned keyval, unsigned state, const GdkRectangle& caret) {
  if (!started_) return false;
  entry<void (*)(int, int)>("module_move_win")(caret.x, caret.y + caret.height + 2);
  return entry<int (*)(int, int)>("module_feedkey")(static_cast<int>(keyval), static_cast<int>(state & 0xFF)) == 1;
}

void LiteHost::flush() {
  if (started_) entry<int (*)()>("module_flush_input")();
}

void LiteHost::open_settings() {
  if (loaded()) entry<void (*)()>("module_setup_window_create")();
}

void LiteHost::commit(const char* text) {
  if (target_ != nullptr) gtk_text_buffer_insert_at_cursor(target_, text, -1);
}

void LiteHost::report(const std::string& message) {
  std::fprintf(stderr, "tovu-lite: %s\n", message.c_str());
  if (status_ != nullptr) gtk_label_set_text(status_, message.c_str());
}

void LiteHost::clear_candidates() {
  GList* children = gtk_container_get_children(GTK_CONTAINER(candidates_));
  for (GList* child = children; child != nullptr; child = child->next) gtk_widget_destroy(GTK_WIDGET(child->data));
  g_list_free(children);
  gtk_widget_hide(prev_mark_);
  gtk_widget_hide(next_mark_);
}

int LiteHost::selection_int(std::size_t offset) const {
  int value = 0;
  std::memcpy(&value, selection_.data() + offset, sizeof value);
  return value;
}

void LiteHost::set_candidate(int index, const char* text) {
  bool highlighted = selection_int(TOVU_SELECTION_HIGHLIGHT_ON) != 0 &&
                     selection_int(TOVU_SELECTION_HIGHLIGHT_INDEX) == index;
  std::string key = index >= 0 && static_cast<std::size_t>(index) < selection_keys_.size()
                        ? std::string(1, selection_keys_[static_cast<std::size_t>(index)])
                        : std::to_string(index + 1);
  gchar* shown = g_markup_printf_escaped(
      highlighted ? "<span foreground=\"#888888\">%s</span> <span background=\"#268bd2\" foreground=\"white\">%s</span>"
                  : "<span foreground=\"#888888\">%s</span> %s",
      key.c_str(), text);
  GtkWidget* label = gtk_label_new(nullptr);
  gtk_label_set_markup(GTK_LABEL(label), shown);
  g_free(shown);
  set_widget_font(label, font_size_);
  gtk_box_pack_start(GTK_BOX(candidates_), clickable(label, G_CALLBACK(on_candidate_clicked), GINT_TO_POINTER(index)),
                     FALSE, FALSE, 0);
}

void LiteHost::mark_page(bool next) { gtk_widget_show_all(next ? next_mark_ : prev_mark_); }

void LiteHost::place_candidates(int x, int y) {
  gtk_widget_show_all(candidates_);
  gtk_widget_show(gtk_widget_get_parent(candidates_));
  gtk_window_resize(GTK_WINDOW(popup_), 1, 1);
  gtk_window_move(GTK_WINDOW(popup_), x, y);
  gtk_widget_show(popup_);
}

void LiteHost::hide_candidates() {
  if (popup_ != nullptr) gtk_widget_hide(popup_);
}

}  // namespace tovu_lite
