// The settings dialog, opened through the module's export.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <filesystem>
#include <string>
#include <vector>

#include "fake_host.h"
#include "test_home.h"
#include "widgets.h"

namespace ferrolune::test {
namespace {

namespace fs = std::filesystem;
constexpr const char* kTitle = "tovu 晴川音鍵設定";

template <typename Check>
std::vector<GtkWidget*> widgets_where(GtkWidget* root, Check check) {
  std::vector<GtkWidget*> found;
  for (GtkWidget* widget : descendants(root)) {
    if (check(widget)) found.push_back(widget);
  }
  return found;
}

class SettingsDialog : public testing::Test {
 protected:
  GtkWidget* open() {
    host.entry<void (*)()>("module_setup_window_create")();
    drain_events();
    return toplevel_titled(kTitle);
  }
  void TearDown() override {
    while (GtkWidget* message = visible_message_dialog()) gtk_widget_destroy(message);
    if (GtkWidget* window = toplevel_titled(kTitle)) gtk_widget_destroy(window);
  }

  TestHome home;
  FakeHost host{home};
};

TEST_F(SettingsDialog, ShowsTheSettingsInItsRows) {
  TestHome::write(home.config("ferrolune.json"),
                  R"({"method":"traditional","learning":false,"candidate_cursor_at_end":true,"max_completed_syllables":17})");
  GtkWidget* window = open();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(gtk_container_get_border_width(GTK_CONTAINER(window)), 3u);

  std::vector<std::string> labels;
  for (GtkWidget* label : widgets_where(window, [](GtkWidget* w) { return GTK_IS_LABEL(w); })) {
    labels.emplace_back(gtk_label_get_text(GTK_LABEL(label)));
  }
  const std::vector<std::string> rows = {"輸入方式", "記住我的詞和選字", "空白鍵叫出候選字", "候選字取游標前的字",
                                         "選字後游標回到最後", "ESC 鍵清空編輯區", "編輯區最多幾個字"};
  ASSERT_GE(labels.size(), rows.size());
  EXPECT_EQ(std::vector<std::string>(labels.begin(), labels.begin() + 7), rows);

  auto combos = widgets_where(window, [](GtkWidget* w) { return GTK_IS_COMBO_BOX_TEXT(w); });
  ASSERT_EQ(combos.size(), 1u);
  EXPECT_EQ(gtk_combo_box_get_active(GTK_COMBO_BOX(combos[0])), 1);
  gtk_combo_box_set_active(GTK_COMBO_BOX(combos[0]), 0);
  gchar* first = gtk_combo_box_text_get_active_text(GTK_COMBO_BOX_TEXT(combos[0]));
  EXPECT_STREQ(first, "智慧選字");
  g_free(first);

  auto checks = widgets_where(window, [](GtkWidget* w) { return GTK_IS_CHECK_BUTTON(w); });
  ASSERT_EQ(checks.size(), 5u);
  std::vector<bool> states;
  for (GtkWidget* check : checks) states.push_back(gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(check)));
  EXPECT_EQ(states, (std::vector<bool>{false, true, true, false, false}));

  auto spins = widgets_where(window, [](GtkWidget* w) { return GTK_IS_SPIN_BUTTON(w); });
  ASSERT_EQ(spins.size(), 1u);
  EXPECT_EQ(gtk_spin_button_get_value_as_int(GTK_SPIN_BUTTON(spins[0])), 17);
  double low = 0;
  double high = 0;
  gtk_spin_button_get_range(GTK_SPIN_BUTTON(spins[0]), &low, &high);
  EXPECT_EQ(low, 10);
  EXPECT_EQ(high, 20);
  EXPECT_EQ(gtk_spin_button_get_digits(GTK_SPIN_BUTTON(spins[0])), 0u);

  EXPECT_NE(button_labelled(window, "清除學習資料"), nullptr);
  GtkWidget* cancel = button_labelled(window, "gtk-cancel");
  GtkWidget* ok = button_labelled(window, "gtk-ok");
  ASSERT_NE(cancel, nullptr);
  ASSERT_NE(ok, nullptr);
  // Without the alternative button order Cancel stands left of OK.
  GtkWidget* buttons = gtk_widget_get_parent(ok);
  GList* children = gtk_container_get_children(GTK_CONTAINER(buttons));
  EXPECT_EQ(children->data, cancel);
  g_list_free(children);

  // Opening again presents the same dialog.
  EXPECT_EQ(open(), window);
  EXPECT_EQ(toplevels_titled(kTitle), 1);
}

TEST_F(SettingsDialog, OkSavesAndCloses) {
  GtkWidget* window = open();
  ASSERT_NE(window, nullptr);
  auto combos = widgets_where(window, [](GtkWidget* w) { return GTK_IS_COMBO_BOX_TEXT(w); });
  gtk_combo_box_set_active(GTK_COMBO_BOX(combos[0]), 1);
  auto spins = widgets_where(window, [](GtkWidget* w) { return GTK_IS_SPIN_BUTTON(w); });
  gtk_spin_button_set_value(GTK_SPIN_BUTTON(spins[0]), 13);
  gtk_button_clicked(GTK_BUTTON(button_labelled(window, "gtk-ok")));
  drain_events();
  EXPECT_EQ(toplevel_titled(kTitle), nullptr);
  std::string saved = TestHome::read(home.config("ferrolune.json"));
  EXPECT_NE(saved.find(R"("method":"traditional")"), std::string::npos) << saved;
  EXPECT_NE(saved.find(R"("max_completed_syllables":13)"), std::string::npos) << saved;
}

TEST_F(SettingsDialog, CancelClosesWithoutSaving) {
  GtkWidget* window = open();
  ASSERT_NE(window, nullptr);
  gtk_button_clicked(GTK_BUTTON(button_labelled(window, "gtk-cancel")));
  drain_events();
  EXPECT_EQ(toplevel_titled(kTitle), nullptr);
  EXPECT_FALSE(fs::exists(home.config("ferrolune.json")));
  // A new dialog can be opened after the old one is gone.
  EXPECT_NE(open(), nullptr);
}

TEST_F(SettingsDialog, FailedSaveShowsTheErrorAndKeepsTheDialog) {
  fs::create_directories(home.config(""));
  fs::create_symlink("/dev/full", home.config("ferrolune.json.tmp"));
  GtkWidget* window = open();
  ASSERT_NE(window, nullptr);
  gtk_button_clicked(GTK_BUTTON(button_labelled(window, "gtk-ok")));
  drain_events();
  GtkWidget* error = visible_message_dialog();
  ASSERT_NE(error, nullptr);
  EXPECT_EQ(message_text(error), "無法儲存晴川音鍵的設定");
  EXPECT_TRUE(gtk_window_get_modal(GTK_WINDOW(error)));
  EXPECT_EQ(toplevel_titled(kTitle), window);
  EXPECT_FALSE(fs::exists(fs::symlink_status(home.config("ferrolune.json.tmp"))));
  EXPECT_FALSE(fs::exists(home.config("ferrolune.json")));
  gtk_dialog_response(GTK_DIALOG(error), GTK_RESPONSE_OK);
  drain_events();
  EXPECT_EQ(visible_message_dialog(), nullptr);
  EXPECT_EQ(toplevel_titled(kTitle), window);
}

TEST_F(SettingsDialog, ClearingLearningOnlyCreatesTheMarker) {
  GtkWidget* window = open();
  ASSERT_NE(window, nullptr);
  GtkWidget* clear = button_labelled(window, "清除學習資料");

  gtk_button_clicked(GTK_BUTTON(clear));
  GtkWidget* question = visible_message_dialog();
  ASSERT_NE(question, nullptr);
  EXPECT_EQ(message_text(question), "清除晴川音鍵記住的詞和選字？這無法復原。");
  gtk_dialog_response(GTK_DIALOG(question), GTK_RESPONSE_CANCEL);
  drain_events();
  EXPECT_FALSE(fs::exists(home.data("reset-learning")));

  TestHome::write(home.data("ferrolune-user.db"), "learned");
  for (int round = 0; round < 2; ++round) {
    gtk_button_clicked(GTK_BUTTON(clear));
    question = visible_message_dialog();
    ASSERT_NE(question, nullptr);
    gtk_dialog_response(GTK_DIALOG(question), GTK_RESPONSE_OK);
    drain_events();
    EXPECT_TRUE(fs::exists(home.data("reset-learning")));
    EXPECT_EQ(fs::file_size(home.data("reset-learning")), 0u);
    TestHome::write(home.data("reset-learning"), "not empty");
  }
  EXPECT_EQ(TestHome::read(home.data("ferrolune-user.db")), "learned");
  EXPECT_EQ(toplevel_titled(kTitle), window);
}

}  // namespace
}  // namespace ferrolune::test
