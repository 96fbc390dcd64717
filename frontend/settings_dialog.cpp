#include "settings_dialog.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtk/gtk.h>

#include "tovu_module.h"

namespace ferrolune::frontend {

namespace {

constexpr int kCheckCount = 5;

struct DialogWidgets {
  GtkWidget* window = nullptr;
  GtkWidget* method = nullptr;
  GtkWidget* checks[kCheckCount] = {};
  GtkWidget* limit = nullptr;
};

DialogWidgets dialog;

int32_t ferrolune_conf::*const kCheckFields[kCheckCount] = {
    &ferrolune_conf::learning,
    &ferrolune_conf::space_opens_candidates,
    &ferrolune_conf::candidate_cursor_at_end,
    &ferrolune_conf::selection_returns_to_end,
    &ferrolune_conf::clear_composing_with_escape,
};

const char* const kCheckLabels[kCheckCount] = {
    "記住我的詞和選字", "空白鍵叫出候選字", "候選字取游標前的字", "選字後游標回到最後", "ESC 鍵清空編輯區",
};

void add_row(GtkWidget* rows, const char* text, GtkWidget* control) {
  GtkWidget* row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0);
  gtk_box_pack_start(GTK_BOX(rows), row, TRUE, TRUE, 1);
  gtk_box_pack_start(GTK_BOX(row), gtk_label_new(text), TRUE, TRUE, 0);
  gtk_box_pack_start(GTK_BOX(row), control, FALSE, FALSE, 0);
}

void destroy_message(GtkDialog* message, gint, gpointer) { gtk_widget_destroy(GTK_WIDGET(message)); }

GtkWidget* modal_message(GtkMessageType type, GtkButtonsType buttons, const char* text) {
  GtkWidget* message = gtk_message_dialog_new(GTK_WINDOW(dialog.window), GTK_DIALOG_MODAL, type, buttons, "%s", text);
  gtk_window_set_modal(GTK_WINDOW(message), TRUE);
  return message;
}

void create_reset_marker() {
  gchar* marker = ferrolune_home_path("reset-learning");
  gchar* directory = g_path_get_dirname(marker);
  g_mkdir_with_parents(directory, 0700);
  int fd = open(marker, O_CREAT | O_WRONLY | O_TRUNC | O_CLOEXEC, 0600);
  if (fd >= 0) close(fd);
  g_free(directory);
  g_free(marker);
}

void on_clear_answer(GtkDialog* question, gint response, gpointer) {
  if (response == GTK_RESPONSE_OK) create_reset_marker();
  gtk_widget_destroy(GTK_WIDGET(question));
}

void on_clear(GtkButton*, gpointer) {
  GtkWidget* question = modal_message(GTK_MESSAGE_QUESTION, GTK_BUTTONS_OK_CANCEL, "清除晴川音鍵記住的詞和選字？這無法復原。");
  g_signal_connect(question, "response", G_CALLBACK(on_clear_answer), nullptr);
  gtk_widget_show_all(question);
}

void on_ok(GtkButton*, gpointer) {
  ferrolune_conf conf{};
  conf.method_traditional = gtk_combo_box_get_active(GTK_COMBO_BOX(dialog.method)) == 1 ? 1 : 0;
  for (int i = 0; i < kCheckCount; ++i) {
    conf.*kCheckFields[i] = gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(dialog.checks[i])) ? 1 : 0;
  }
  conf.max_completed_syllables = gtk_spin_button_get_value_as_int(GTK_SPIN_BUTTON(dialog.limit));
  if (ferrolune_conf_save(&conf) != 0) {
    gtk_widget_destroy(dialog.window);
    return;
  }
  GtkWidget* error = modal_message(GTK_MESSAGE_ERROR, GTK_BUTTONS_OK, "無法儲存晴川音鍵的設定");
  g_signal_connect(error, "response", G_CALLBACK(destroy_message), nullptr);
  gtk_widget_show_all(error);
}

void on_cancel(GtkButton*, gpointer) { gtk_widget_destroy(dialog.window); }

void on_destroyed(GtkWidget*, gpointer) { dialog = DialogWidgets{}; }

GtkWidget* stock_button(const char* stock_id) {
  // The host's look relies on the stock buttons, which GTK 3 keeps but
  // marks deprecated.
  G_GNUC_BEGIN_IGNORE_DEPRECATIONS
  GtkWidget* button = gtk_button_new_from_stock(stock_id);
  G_GNUC_END_IGNORE_DEPRECATIONS
  return button;
}

}  // namespace

GtkWidget* settings_dialog() { return dialog.window; }

void open_settings_dialog() {
  if (dialog.window != nullptr) {
    gtk_window_present(GTK_WINDOW(dialog.window));
    return;
  }
  ferrolune_conf conf{};
  ferrolune_conf_load(&conf);

  dialog.window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_position(GTK_WINDOW(dialog.window), GTK_WIN_POS_MOUSE);
  gtk_window_set_title(GTK_WINDOW(dialog.window), "tovu 晴川音鍵設定");
  gtk_container_set_border_width(GTK_CONTAINER(dialog.window), 3);
  g_signal_connect(dialog.window, "destroy", G_CALLBACK(on_destroyed), nullptr);

  GtkWidget* rows = gtk_box_new(GTK_ORIENTATION_VERTICAL, 3);
  gtk_container_add(GTK_CONTAINER(dialog.window), rows);

  dialog.method = gtk_combo_box_text_new();
  gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(dialog.method), "智慧選字");
  gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(dialog.method), "逐字選字");
  gtk_combo_box_set_active(GTK_COMBO_BOX(dialog.method), conf.method_traditional != 0 ? 1 : 0);
  add_row(rows, "輸入方式", dialog.method);

  for (int i = 0; i < kCheckCount; ++i) {
    dialog.checks[i] = gtk_check_button_new();
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(dialog.checks[i]), conf.*kCheckFields[i] != 0);
    add_row(rows, kCheckLabels[i], dialog.checks[i]);
  }

  dialog.limit = gtk_spin_button_new_with_range(10, 20, 1);
  gtk_spin_button_set_increments(GTK_SPIN_BUTTON(dialog.limit), 1, 1);
  gtk_spin_button_set_digits(GTK_SPIN_BUTTON(dialog.limit), 0);
  gtk_spin_button_set_value(GTK_SPIN_BUTTON(dialog.limit), conf.max_completed_syllables);
  add_row(rows, "編輯區最多幾個字", dialog.limit);

  GtkWidget* clear = gtk_button_new_with_label("清除學習資料");
  g_signal_connect(clear, "clicked", G_CALLBACK(on_clear), nullptr);
  gtk_box_pack_start(GTK_BOX(rows), clear, FALSE, FALSE, 3);

  GtkWidget* buttons = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 10);
  gtk_box_pack_start(GTK_BOX(rows), buttons, FALSE, FALSE, 5);
  GtkWidget* cancel = stock_button("gtk-cancel");
  GtkWidget* ok = stock_button("gtk-ok");
  g_signal_connect(cancel, "clicked", G_CALLBACK(on_cancel), nullptr);
  g_signal_connect(ok, "clicked", G_CALLBACK(on_ok), nullptr);
  gboolean alternative_order = FALSE;
  g_object_get(gtk_settings_get_default(), "gtk-alternative-button-order", &alternative_order, nullptr);
  if (alternative_order) {
    gtk_box_pack_end(GTK_BOX(buttons), cancel, TRUE, TRUE, 0);
    gtk_box_pack_end(GTK_BOX(buttons), ok, TRUE, TRUE, 5);
  } else {
    gtk_box_pack_start(GTK_BOX(buttons), cancel, TRUE, TRUE, 0);
    gtk_box_pack_start(GTK_BOX(buttons), ok, TRUE, TRUE, 5);
  }
  gtk_widget_show_all(dialog.window);
}

}  // namespace ferrolune::frontend
