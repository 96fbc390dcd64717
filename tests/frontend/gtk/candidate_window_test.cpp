#include "candidate_window.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <string>
#include <vector>

#include "label_markup.h"
#include "recording_host.h"
#include "widgets.h"

namespace ferrolune::frontend {
namespace {

using test::RecordingHost;
using Calls = std::vector<std::string>;

class CandidateWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    build_candidate_window(state, services);
    host.calls.clear();
  }
  void TearDown() override { gtk_widget_destroy(state.window); }

  void show(const char* text, int cursor, std::vector<const char*> candidates, int page, int page_count,
            int highlight) {
    g_free(state.visible_text);
    state.visible_text = g_strdup(text);
    state.cursor = cursor;
    if (state.displayed_candidates != nullptr) json_object_put(state.displayed_candidates);
    state.displayed_candidates = nullptr;
    if (!candidates.empty()) {
      state.displayed_candidates = json_object_new_array();
      for (const char* candidate : candidates) {
        json_object_array_add(state.displayed_candidates, json_object_new_string(candidate));
      }
    }
    state.page = page;
    state.page_count = page_count;
    state.highlight = highlight;
    host.calls.clear();
    redraw_window(state, services);
  }

  std::string label_markup() const { return gtk_label_get_label(GTK_LABEL(state.label)); }

  RecordingHost host;
  HostServices services{host.table()};
  FrontEndState state;
};

TEST(CandidateWindowBuild, CallsTheHostInOrderAndStartsHidden) {
  RecordingHost host;
  host.font_size = 17;
  HostServices services(host.table());
  FrontEndState state;
  build_candidate_window(state, services);
  EXPECT_EQ(host.calls,
            (Calls{"setup_popup", "win_setup_done", "style_window", "set_widget_font 17", "candidates_hidden",
                   "win_hidden"}));
  ASSERT_NE(state.window, nullptr);
  ASSERT_NE(state.label, nullptr);
  EXPECT_FALSE(gtk_widget_get_visible(state.window));
  EXPECT_TRUE(gtk_widget_get_realized(state.window));
  EXPECT_FALSE(gtk_window_get_resizable(GTK_WINDOW(state.window)));
  EXPECT_EQ(gtk_bin_get_child(GTK_BIN(state.window)), state.label);
  gtk_widget_destroy(state.window);
}

TEST_F(CandidateWindowTest, FirstPageHandsCandidatesWithHighlightAndNextMark) {
  host.set_selection_int(TOVU_SELECTION_HIGHLIGHT_ON, 7);
  host.set_selection_int(TOVU_SELECTION_HIGHLIGHT_INDEX, 42);
  show("把<&", 9, {"把", "靶"}, 0, 3, 1);
  EXPECT_EQ(host.calls, (Calls{"win_shown", "clear_candidates", "set_candidate 0 把 on=1 index=1 last=-1",
                               "set_candidate 1 靶 on=1 index=1 last=-1", "mark_next_page", "place_window 100 220"}));
  EXPECT_EQ(host.selection_int(TOVU_SELECTION_HIGHLIGHT_ON), 7);
  EXPECT_EQ(host.selection_int(TOVU_SELECTION_HIGHLIGHT_INDEX), 42);
  EXPECT_TRUE(gtk_widget_get_visible(state.window));
  EXPECT_EQ(label_markup(), build_label_markup("把<&", 3, "#3465a4", "white"));
  EXPECT_EQ(label_markup(), R"(把&lt;&amp;<span background="#3465a4" foreground="white"> </span>)");
}

TEST_F(CandidateWindowTest, PageMarksFollowThePage) {
  show("把", 1, {"霸"}, 2, 3, 0);
  EXPECT_EQ(host.calls_starting("mark_"), (Calls{"mark_prev_page"}));
  show("把", 1, {"霸"}, 1, 3, 0);
  EXPECT_EQ(host.calls_starting("mark_"), (Calls{"mark_prev_page", "mark_next_page"}));
  show("把", 1, {"霸"}, 0, 1, 0);
  EXPECT_TRUE(host.calls_starting("mark_").empty());
}

TEST_F(CandidateWindowTest, NoHighlightIsHandedAsOff) {
  show("", 0, {"，", "。"}, 0, 1, -1);
  EXPECT_EQ(host.calls_starting("set_candidate"),
            (Calls{"set_candidate 0 ， on=0 index=-1 last=-1", "set_candidate 1 。 on=0 index=-1 last=-1"}));
}

TEST_F(CandidateWindowTest, NoWindowModeNeverShowsAndPlacesWithoutOffset) {
  host.no_window = 1;
  show("把", 0, {"把", "靶"}, 0, 2, 0);
  EXPECT_FALSE(gtk_widget_get_visible(state.window));
  EXPECT_FALSE(host.called("win_shown"));
  EXPECT_EQ(host.calls.back(), "place_window 100 200");
  host.calls.clear();
  show_window(state, services);
  EXPECT_FALSE(gtk_widget_get_visible(state.window));
}

TEST_F(CandidateWindowTest, TextWithoutCandidatesShowsTheWindowOnly) {
  show("ㄅ", 1, {}, 0, 0, -1);
  EXPECT_EQ(host.calls, (Calls{"win_shown", "clear_candidates", "candidates_hidden"}));
  EXPECT_TRUE(gtk_widget_get_visible(state.window));
  EXPECT_EQ(label_markup(), R"(ㄅ<span background="#3465a4" foreground="white"> </span>)");
}

TEST_F(CandidateWindowTest, NothingComposedHidesTheWindow) {
  show("ㄅ", 1, {}, 0, 0, -1);
  show("", 0, {}, 0, 0, -1);
  EXPECT_EQ(host.calls, (Calls{"candidates_hidden", "win_hidden"}));
  EXPECT_FALSE(gtk_widget_get_visible(state.window));
}

TEST_F(CandidateWindowTest, ShowWindowNeedsTextOrShowWhenEmpty) {
  show_window(state, services);
  EXPECT_FALSE(gtk_widget_get_visible(state.window));
  EXPECT_FALSE(window_visible(state));
  host.show_when_empty = 1;
  show_window(state, services);
  EXPECT_TRUE(window_visible(state));
  EXPECT_EQ(host.calls, (Calls{"win_shown"}));
  hide_candidate_window(state, services);
  EXPECT_FALSE(window_visible(state));
}

TEST_F(CandidateWindowTest, MovingKeepsTheWindowOnTheScreen) {
  show("ㄅ", 1, {}, 0, 0, -1);
  int width = 0;
  int height = 0;
  gtk_window_get_size(GTK_WINDOW(state.window), &width, &height);
  ASSERT_GT(width, 0);
  host.calls.clear();

  move_window(state, services, 790, 595);
  EXPECT_EQ(host.win_w, width);
  EXPECT_EQ(host.win_h, height);
  EXPECT_EQ(host.win_x, 800 - width);
  EXPECT_EQ(host.win_y, 600 - height);
  EXPECT_EQ(host.calls, (Calls{"win_moved"}));

  move_window(state, services, -30, 40);
  EXPECT_EQ(host.win_x, 0);
  EXPECT_EQ(host.win_y, 40);
}

TEST_F(CandidateWindowTest, GeometryAndFontGoThroughTheHost) {
  store_window_geometry(state, services);
  EXPECT_EQ(host.calls, (Calls{"get_window_size"}));
  EXPECT_EQ(host.win_w, 55);
  EXPECT_EQ(host.win_h, 33);
  host.calls.clear();
  host.font_size = 20;
  apply_font_size(state, services);
  EXPECT_EQ(host.calls, (Calls{"style_window", "set_widget_font 20"}));
}

TEST(CandidateWindowAbsent, CallsDoNothing) {
  RecordingHost host;
  HostServices services(host.table());
  FrontEndState state;
  move_window(state, services, 10, 10);
  store_window_geometry(state, services);
  apply_font_size(state, services);
  show_window(state, services);
  hide_candidate_window(state, services);
  EXPECT_FALSE(window_visible(state));
  EXPECT_TRUE(host.calls.empty());
}

}  // namespace
}  // namespace ferrolune::frontend
