// The real module driven by the replacement host.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine_request.h"
#include "fake_host.h"
#include "ferrolune.h"
#include "fixture_model.h"
#include "test_home.h"

namespace ferrolune::test {
namespace {

namespace fs = std::filesystem;
using Calls = std::vector<std::string>;

constexpr int kReturn = 0xFF0D;
constexpr int kEscape = 0xFF1B;
constexpr int kLock = 2;
constexpr int kMod1 = 8;

// Moves a file's modification time by `seconds`, so that a change is seen
// even within the same second.
void shift_mtime(const fs::path& path, int seconds) {
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  struct utimbuf times {info.st_atime, info.st_mtime + seconds};
  ASSERT_EQ(utime(path.c_str(), &times), 0);
}

TEST(Module, ExportsEveryEntryPoint) {
  TestHome home;
  FakeHost host(home);
  for (const char* name :
       {"module_init_win", "module_feedkey", "module_feedkey_release", "module_get_preedit", "module_reset",
        "module_flush_input", "module_move_win", "module_change_font_size", "module_show_win", "module_hide_win",
        "module_win_visible", "module_get_win_geom", "module_setup_window_create", "ferrolune_conf_path",
        "ferrolune_home_path", "ferrolune_conf_load", "ferrolune_conf_save"}) {
    EXPECT_TRUE(host.exports(name)) << name;
  }
  // Internals stay hidden.
  EXPECT_FALSE(host.exports("accept_candidate_text"));
}

TEST(Module, WithoutModelInitFailsAndEveryKeyPasses) {
  TestHome home;
  FakeHost host(home);
  EXPECT_EQ(host.init(), 0);
  ASSERT_GE(host.calls.size(), 2u);
  EXPECT_EQ(host.calls[0], "win_setup_begin");
  EXPECT_EQ(host.calls[1], "register_callbacks");
  EXPECT_NE(host.select, nullptr);
  EXPECT_EQ(host.reports, (Calls{"Ferrolune's model is not in /usr/local/share/tovu/ferrolune"}));
  EXPECT_EQ(host.feed('1'), 0);
  EXPECT_EQ(host.entry<int (*)(int, int)>("module_feedkey_release")('1', 0), 0);
  EXPECT_EQ(host.reset(), 0);
  EXPECT_EQ(host.flush(), 0);
  EXPECT_EQ(host.visible(), 0);
  FakeHost::Preedit preedit = host.preedit();
  EXPECT_EQ(preedit.attributes, 0);
  EXPECT_EQ(preedit.text, "");
  host.entry<void (*)(int, int)>("module_move_win")(10, 10);
  EXPECT_FALSE(host.called("win_moved"));

  // A second init tries again while no window exists.
  write_fixture_model(home.scratch() / "ZezAri.db");
  host.reports.clear();
  int started = host.init();
  if (started == 0) {
    ASSERT_EQ(host.reports.size(), 1u);
    EXPECT_TRUE(host.reports[0].starts_with("Ferrolune cannot start: ")) << host.reports[0];
  } else {
    EXPECT_TRUE(host.reports.empty());
  }
}

// Why the engine cannot type Traditional Bopomofo on `model` yet, or the
// empty text when it can: typing needs both sessions and that method.
std::string typing_unavailable(const fs::path& model) {
  const std::string path = model.string();
  ferrolune_session* session = nullptr;
  std::string why;
  if (ferrolune_session_new(path.data(), path.size(), nullptr, 0, &session) != FERROLUNE_OK) {
    why = frontend::engine_last_error();
  } else {
    const std::string key = R"({"type":"character","text":"1"})";
    ferrolune_result* result = nullptr;
    if (ferrolune_session_input(session, key.data(), key.size(), &result) != FERROLUNE_OK) {
      why = frontend::engine_last_error();
    }
    ferrolune_result_free(&result);
    ferrolune_session_free(&session);
  }
  return why.find("not available") != std::string::npos ? why : std::string();
}

// Typing through a working session; skipped while the engine cannot make
// sessions or type Traditional Bopomofo yet.
class Typing : public testing::Test {
 protected:
  void SetUp() override {
    write_fixture_model(home.scratch() / "ZezAri.db");
    if (std::string why = typing_unavailable(home.scratch() / "ZezAri.db"); !why.empty()) {
      GTEST_SKIP() << "the engine cannot type yet: " << why;
    }
    TestHome::write(home.config("ferrolune.json"), R"({"method":"traditional"})");
    host.set_selection_int(TOVU_SELECTION_HIGHLIGHT_ON, 7);
    host.set_selection_int(TOVU_SELECTION_HIGHLIGHT_INDEX, 42);
    if (host.init() == 0) {
      ASSERT_EQ(host.reports.size(), 1u);
      if (host.reports[0].find("not available") != std::string::npos) {
        GTEST_SKIP() << "the engine cannot create sessions yet: " << host.reports[0];
      }
      FAIL() << host.reports[0];
    }
    host.calls.clear();
  }

  TestHome home;
  FakeHost host{home};
};

TEST_F(Typing, InitBuildsTheHiddenWindow) {
  EXPECT_EQ(host.visible(), 0);
  EXPECT_TRUE(host.reports.empty());
}

TEST_F(Typing, SyllableOpensTheListAndASelectionKeyCommits) {
  EXPECT_EQ(host.feed('1'), 1);
  EXPECT_EQ(host.preedit().text, "ㄅ");
  EXPECT_TRUE(host.called("candidates_hidden"));
  EXPECT_FALSE(host.called("place_window 100 220"));
  EXPECT_EQ(host.visible(), 1);
  host.calls.clear();

  EXPECT_EQ(host.feed('8'), 1);
  EXPECT_EQ(host.feed('3'), 1);
  Calls candidates = host.calls_starting("set_candidate");
  ASSERT_EQ(candidates.size(), 9u) << "the private-use candidate is filtered out";
  EXPECT_EQ(candidates[0], "set_candidate 0 把 on=1 index=0 last=-1");
  EXPECT_EQ(candidates[1], "set_candidate 1 靶 on=1 index=0 last=-1");
  EXPECT_EQ(candidates[8], "set_candidate 8 跋 on=1 index=0 last=-1");
  EXPECT_EQ(host.selection_int(TOVU_SELECTION_HIGHLIGHT_ON), 7);
  EXPECT_EQ(host.selection_int(TOVU_SELECTION_HIGHLIGHT_INDEX), 42);
  EXPECT_EQ(host.calls_starting("mark_"), (Calls{"mark_next_page"}));
  EXPECT_EQ(host.calls.back(), "place_window 100 220");
  FakeHost::Preedit preedit = host.preedit();
  EXPECT_EQ(preedit.text, "把");
  EXPECT_EQ(preedit.attributes, 1);
  EXPECT_EQ(preedit.attribute.end, 1);

  host.calls.clear();
  EXPECT_EQ(host.feed('2'), 1);
  EXPECT_EQ(host.commits, (Calls{"靶"}));
  EXPECT_EQ(host.preedit().attributes, 0);
  EXPECT_EQ(host.visible(), 0);
  EXPECT_TRUE(host.called("win_hidden"));
}

TEST_F(Typing, HostCallbacksPageAndSelect) {
  host.type("183");
  host.calls.clear();
  host.page_down();
  EXPECT_EQ(host.calls_starting("set_candidate"),
            (Calls{"set_candidate 0 霸 on=1 index=0 last=-1", "set_candidate 1 罷 on=1 index=0 last=-1",
                   "set_candidate 2 壩 on=1 index=0 last=-1"}));
  EXPECT_EQ(host.calls_starting("mark_"), (Calls{"mark_prev_page"}));
  host.page_up();
  EXPECT_EQ(host.select(1), 1);
  EXPECT_EQ(host.commits, (Calls{"靶"}));
}

TEST_F(Typing, NoWindowModePlacesCandidatesWithoutTheWindow) {
  host.no_window = 1;
  host.type("183");
  EXPECT_EQ(host.visible(), 0);
  EXPECT_FALSE(host.called("win_shown"));
  EXPECT_EQ(host.calls.back(), "place_window 100 200");
}

TEST_F(Typing, ModifiersAndForeignKeys) {
  host.feed('1');
  EXPECT_EQ(host.feed('8', kMod1), 0);
  EXPECT_EQ(host.feed(0xE9), 0);
  EXPECT_EQ(host.feed(0xFFBE), 0);
  EXPECT_EQ(host.preedit().text, "ㄅ");

  // Caps Lock commits what is composed and passes the key on.
  EXPECT_EQ(host.feed('a', kLock), 0);
  EXPECT_EQ(host.commits, (Calls{"ㄅ"}));
  EXPECT_EQ(host.preedit().attributes, 0);
  EXPECT_EQ(host.visible(), 0);

  // With nothing composed the application gets Return.
  EXPECT_EQ(host.feed(kReturn), 0);
}

TEST_F(Typing, InactiveInputFlushesAndPasses) {
  host.feed('1');
  host.input_active = 0;
  EXPECT_EQ(host.feed('8'), 0);
  EXPECT_EQ(host.commits, (Calls{"ㄅ"}));
  EXPECT_EQ(host.preedit().attributes, 0);
}

TEST_F(Typing, ResetAndFlush) {
  host.feed('1');
  EXPECT_EQ(host.reset(), 1);
  EXPECT_TRUE(host.commits.empty());
  EXPECT_EQ(host.visible(), 0);
  EXPECT_EQ(host.reset(), 0);
  host.type("183");
  EXPECT_EQ(host.flush(), 0);
  EXPECT_EQ(host.commits, (Calls{"把"}));
  EXPECT_EQ(host.visible(), 0);
}

TEST_F(Typing, ChangesWaitUntilNothingIsComposed) {
  host.feed('1');
  // A new keyboard file with other selection keys, written mid-syllable.
  TestHome::write(home.config("phonetic-keyboard2"), "zo asdfghjkl\n");
  TestHome::write(home.data("reset-learning"), "");
  TestHome::write(home.data("ferrolune-user.db-journal"), "stale");
  host.type("83");
  EXPECT_TRUE(fs::exists(home.data("reset-learning")));
  // "s" is still a Bopomofo key here: it commits the highlighted candidate.
  host.feed('s');
  EXPECT_EQ(host.commits, (Calls{"把"}));
  EXPECT_TRUE(fs::exists(home.data("reset-learning")));
  host.feed(kEscape);

  // Idle now: the next key restarts the session first.
  host.type("183");
  EXPECT_FALSE(fs::exists(home.data("reset-learning")));
  EXPECT_FALSE(fs::exists(home.data("ferrolune-user.db-journal")));
  host.feed('s');
  EXPECT_EQ(host.commits, (Calls{"把", "靶"}));
}

TEST_F(Typing, KeyboardFileChoosesLayoutAndSelectionKeys) {
  TestHome::write(home.config("phonetic-keyboard2"), "et26 asdfghjkl\n");
  // ㄅ ㄚ ˇ on the ETen 26-key layout; the new file restarts the idle
  // session before the first key.
  host.type("baj");
  EXPECT_EQ(host.calls_starting("set_candidate").size(), 9u);
  host.feed('s');
  EXPECT_EQ(host.commits, (Calls{"靶"}));
}

TEST_F(Typing, TouchedSettingsRestartAndAFailedRestartPassesKeys) {
  shift_mtime(home.config("ferrolune.json"), 10);
  fs::remove(home.scratch() / "ZezAri.db");
  EXPECT_EQ(host.feed('1'), 0);
  EXPECT_EQ(host.reports, (Calls{"Ferrolune's model is not in /usr/local/share/tovu/ferrolune"}));
  write_fixture_model(home.scratch() / "ZezAri.db");
  EXPECT_EQ(host.feed('1'), 0) << "the module stays without a session";
}

}  // namespace
}  // namespace ferrolune::test
