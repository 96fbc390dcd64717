// tovu-lite: a small desktop host for the Ferrolune module. It loads the
// module, gives it a service table, feeds it the key presses of a text
// area, inserts what it commits, keeps the module's window under the caret
// and draws the candidates the module hands over. The Ferrolune menu opens
// the module's settings dialog.
//
//   tovu-lite [--module PATH] [--settings] [--type KEYS --screenshot FILE]
//
// --type feeds each character of KEYS as a key press once the window is
// up; --screenshot then saves the whole screen as a PNG and quits.
#include <gtk/gtk.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "lite_host.h"

namespace {

struct Options {
  std::string module = TOVU_LITE_MODULE;
  std::string keys;
  std::string screenshot;
  bool settings = false;
};

struct App {
  tovu_lite::LiteHost* host = nullptr;
  GtkWidget* text_view = nullptr;
  Options options;
};

App app;

GdkRectangle caret_on_screen() {
  GtkTextView* view = GTK_TEXT_VIEW(app.text_view);
  GtkTextBuffer* buffer = gtk_text_view_get_buffer(view);
  GtkTextIter iter;
  gtk_text_buffer_get_iter_at_mark(buffer, &iter, gtk_text_buffer_get_insert(buffer));
  GdkRectangle caret{};
  gtk_text_view_get_iter_location(view, &iter, &caret);
  int x = 0;
  int y = 0;
  gtk_text_view_buffer_to_window_coords(view, GTK_TEXT_WINDOW_WIDGET, caret.x, caret.y, &x, &y);
  int origin_x = 0;
  int origin_y = 0;
  if (GdkWindow* window = gtk_widget_get_window(app.text_view)) gdk_window_get_origin(window, &origin_x, &origin_y);
  return GdkRectangle{origin_x + x, origin_y + y, caret.width, caret.height};
}

gboolean on_key_press(GtkWidget*, GdkEventKey* event, gpointer) {
  if (app.host == nullptr) return FALSE;
  return app.host->key_press(event->keyval, event->state, caret_on_screen()) ? TRUE : FALSE;
}

gboolean on_focus_out(GtkWidget*, GdkEventFocus*, gpointer) {
  if (app.host != nullptr) app.host->flush();
  return FALSE;
}

void on_settings(GtkMenuItem*, gpointer) { app.host->open_settings(); }

gboolean take_screenshot(gpointer) {
  GdkWindow* root = gdk_get_default_root_window();
  GdkPixbuf* shot = gdk_pixbuf_get_from_window(root, 0, 0, gdk_window_get_width(root), gdk_window_get_height(root));
  GError* error = nullptr;
  if (shot == nullptr || !gdk_pixbuf_save(shot, app.options.screenshot.c_str(), "png", &error, nullptr)) {
    std::fprintf(stderr, "tovu-lite: cannot save %s: %s\n", app.options.screenshot.c_str(),
                 error != nullptr ? error->message : "no image");
    if (error != nullptr) g_error_free(error);
  }
  if (shot != nullptr) g_object_unref(shot);
  gtk_main_quit();
  return G_SOURCE_REMOVE;
}

gboolean type_keys(gpointer) {
  gtk_widget_grab_focus(app.text_view);
  for (char key : app.options.keys) {
    unsigned keyval = static_cast<unsigned char>(key);
    if (!app.host->key_press(keyval, 0, caret_on_screen())) {
      gchar text[2] = {key, '\0'};
      gtk_text_buffer_insert_at_cursor(gtk_text_view_get_buffer(GTK_TEXT_VIEW(app.text_view)), text, -1);
    }
  }
  if (app.options.settings) app.host->open_settings();
  if (!app.options.screenshot.empty()) g_timeout_add(700, take_screenshot, nullptr);
  return G_SOURCE_REMOVE;
}

bool parse(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    bool has_value = i + 1 < argc;
    if (arg == "--module" && has_value) {
      options.module = argv[++i];
    } else if (arg == "--type" && has_value) {
      options.keys = argv[++i];
    } else if (arg == "--screenshot" && has_value) {
      options.screenshot = argv[++i];
    } else if (arg == "--settings") {
      options.settings = true;
    } else {
      std::fprintf(stderr, "usage: tovu-lite [--module PATH] [--settings] [--type KEYS] [--screenshot FILE]\n");
      return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  gtk_init(&argc, &argv);
  if (!parse(argc, argv, app.options)) return 2;

  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window), "tovu-lite: Ferrolune");
  gtk_window_set_default_size(GTK_WINDOW(window), 520, 260);
  gtk_window_move(GTK_WINDOW(window), 40, 40);
  g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);

  GtkWidget* column = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
  gtk_container_add(GTK_CONTAINER(window), column);

  GtkWidget* menus = gtk_menu_bar_new();
  GtkWidget* ferrolune = gtk_menu_item_new_with_mnemonic("_Ferrolune");
  GtkWidget* menu = gtk_menu_new();
  GtkWidget* settings = gtk_menu_item_new_with_mnemonic("_Settings…");
  GtkWidget* quit = gtk_menu_item_new_with_mnemonic("_Quit");
  g_signal_connect(settings, "activate", G_CALLBACK(on_settings), nullptr);
  g_signal_connect(quit, "activate", G_CALLBACK(gtk_main_quit), nullptr);
  gtk_menu_shell_append(GTK_MENU_SHELL(menu), settings);
  gtk_menu_shell_append(GTK_MENU_SHELL(menu), quit);
  gtk_menu_item_set_submenu(GTK_MENU_ITEM(ferrolune), menu);
  gtk_menu_shell_append(GTK_MENU_SHELL(menus), ferrolune);
  gtk_box_pack_start(GTK_BOX(column), menus, FALSE, FALSE, 0);

  app.text_view = gtk_text_view_new();
  gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(app.text_view), GTK_WRAP_CHAR);
  gtk_text_view_set_left_margin(GTK_TEXT_VIEW(app.text_view), 8);
  gtk_text_view_set_top_margin(GTK_TEXT_VIEW(app.text_view), 8);
  g_signal_connect(app.text_view, "key-press-event", G_CALLBACK(on_key_press), nullptr);
  g_signal_connect(app.text_view, "focus-out-event", G_CALLBACK(on_focus_out), nullptr);
  GtkWidget* scroller = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_container_add(GTK_CONTAINER(scroller), app.text_view);
  gtk_box_pack_start(GTK_BOX(column), scroller, TRUE, TRUE, 0);

  GtkWidget* status = gtk_label_new("");
  gtk_label_set_xalign(GTK_LABEL(status), 0);
  gtk_label_set_line_wrap(GTK_LABEL(status), TRUE);
  gtk_box_pack_start(GTK_BOX(column), status, FALSE, FALSE, 4);

  gtk_widget_show_all(window);
  gtk_widget_grab_focus(app.text_view);

  tovu_lite::LiteHost host(app.options.module);
  app.host = &host;
  if (!host.loaded()) {
    host.report("cannot load " + app.options.module + ": " + host.error());
  } else if (host.start(gtk_text_view_get_buffer(GTK_TEXT_VIEW(app.text_view)), GTK_LABEL(status))) {
    gtk_label_set_text(GTK_LABEL(status), "Ferrolune is ready: type Bopomofo on your keyboard layout.");
  }

  if (!app.options.keys.empty() || !app.options.screenshot.empty() || app.options.settings) {
    g_timeout_add(500, type_keys, nullptr);
  }
  gtk_main();
  return 0;
}
