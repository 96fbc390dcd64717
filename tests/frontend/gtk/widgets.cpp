#include "widgets.h"

namespace ferrolune::test {

namespace {

void collect(GtkWidget* widget, gpointer data) {
  auto* found = static_cast<std::vector<GtkWidget*>*>(data);
  found->push_back(widget);
  if (GTK_IS_CONTAINER(widget)) gtk_container_forall(GTK_CONTAINER(widget), collect, data);
}

std::vector<GtkWidget*> toplevels() {
  std::vector<GtkWidget*> windows;
  GList* list = gtk_window_list_toplevels();
  for (GList* item = list; item != nullptr; item = item->next) windows.push_back(GTK_WIDGET(item->data));
  g_list_free(list);
  return windows;
}

}  // namespace

std::vector<GtkWidget*> descendants(GtkWidget* root) {
  std::vector<GtkWidget*> found;
  if (GTK_IS_CONTAINER(root)) gtk_container_forall(GTK_CONTAINER(root), collect, &found);
  return found;
}

GtkWidget* toplevel_titled(const std::string& title) {
  for (GtkWidget* window : toplevels()) {
    const char* text = gtk_window_get_title(GTK_WINDOW(window));
    if (text != nullptr && title == text) return window;
  }
  return nullptr;
}

int toplevels_titled(const std::string& title) {
  int count = 0;
  for (GtkWidget* window : toplevels()) {
    const char* text = gtk_window_get_title(GTK_WINDOW(window));
    if (text != nullptr && title == text) ++count;
  }
  return count;
}

GtkWidget* visible_message_dialog() {
  for (GtkWidget* window : toplevels()) {
    if (GTK_IS_MESSAGE_DIALOG(window) && gtk_widget_get_visible(window)) return window;
  }
  return nullptr;
}

std::string message_text(GtkWidget* message) {
  gchar* text = nullptr;
  g_object_get(message, "text", &text, nullptr);
  std::string result = text != nullptr ? text : "";
  g_free(text);
  return result;
}

GtkWidget* button_labelled(GtkWidget* root, const std::string& label) {
  for (GtkWidget* widget : descendants(root)) {
    if (!GTK_IS_BUTTON(widget)) continue;
    const char* text = gtk_button_get_label(GTK_BUTTON(widget));
    if (text != nullptr && label == text) return widget;
  }
  return nullptr;
}

void drain_events() {
  while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
}

}  // namespace ferrolune::test
