#include "session_start.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "fixture_model.h"
#include "recording_host.h"
#include "test_home.h"

namespace ferrolune::frontend {
namespace {

using test::RecordingHost;
using test::TestHome;
namespace fs = std::filesystem;

TEST(KeyboardFile, FirstLineGivesLayoutAndSelectionKeys) {
  TestHome home;
  const std::string path = keyboard_file_path();
  EXPECT_EQ(fs::path(path), home.config("phonetic-keyboard2"));
  struct Case {
    const char* file;  // null: no file
    const char* layout;
    const char* keys;
  } cases[] = {
      {nullptr, "standard", "123456789"},
      {"", "standard", "123456789"},
      {"et26 asdfghjkl\nhsu 1234\n", "eten26", "asdfghjkl"},
      {"hsu\n", "hsu", "123456789"},
      {"et 1234567890", "eten", "1234567890"},
      {"pinyin 12345678", "hanyu_pinyin", "12345678"},
      {"ET26 asdf", "standard", "asdf"},
      {"zo 123456789", "standard", "123456789"},
      {"  hsu   asdfzxcv  ", "hsu", "asdfzxcv"},
  };
  for (const Case& c : cases) {
    fs::remove(path);
    if (c.file != nullptr) TestHome::write(path, c.file);
    KeyboardChoice choice = read_keyboard_file(path);
    EXPECT_STREQ(engine_layout(choice.layout_name), c.layout) << (c.file ? c.file : "(none)");
    EXPECT_EQ(choice.selection_keys, c.keys) << (c.file ? c.file : "(none)");
  }
  // Words are cut to 31 and 32 bytes, as the host writes them.
  TestHome::write(path, std::string(40, 'x') + " " + std::string(40, 'k'));
  KeyboardChoice choice = read_keyboard_file(path);
  EXPECT_EQ(choice.layout_name, std::string(31, 'x'));
}

TEST(SessionConfig, MembersInTheirOrder) {
  ferrolune_conf conf{1, 0, 1, 1, 0, 1, 14};
  KeyboardChoice keyboard{"et26", "asdfghjkl"};
  EXPECT_EQ(build_session_config(conf, keyboard, "/home/u/.tovu/ferrolune/ferrolune-user.db"),
            R"({"method":"traditional","profile":"desktop","layout":"eten26",)"
            R"("user_database":"/home/u/.tovu/ferrolune/ferrolune-user.db",)"
            R"("learning":{"user_phrases":false,"candidate_overrides":false,"bigrams":false},)"
            R"("smart":{"candidate_selection_keys":"asdfghjkl","space_opens_candidates":true,)"
            R"("candidate_cursor_at_end":true,"selection_returns_to_end":false,)"
            R"("clear_composing_with_escape":true,"max_completed_syllables":14},)"
            R"("traditional_selection_keys":"asdfghjkl"})");
  conf.method_traditional = 0;
  conf.learning = 1;
  std::string smart = build_session_config(conf, KeyboardChoice{}, "db");
  EXPECT_TRUE(smart.starts_with(R"({"method":"smart","profile":"desktop","layout":"standard",)")) << smart;
  EXPECT_NE(smart.find(R"("learning":{"user_phrases":true,"candidate_overrides":true,"bigrams":true})"),
            std::string::npos);
}

TEST(ResetMarker, DeletesTheUserDatabaseFilesOnlyWhenPresent) {
  TestHome home;
  const std::string database = user_database_path();
  EXPECT_EQ(fs::path(database), home.data("ferrolune-user.db"));
  const char* suffixes[] = {"", "-wal", "-shm", "-journal"};
  for (const char* suffix : suffixes) TestHome::write(database + suffix, "x");
  TestHome::write(home.data("other.db"), "x");

  apply_reset_marker(database);
  for (const char* suffix : suffixes) EXPECT_TRUE(fs::exists(database + suffix)) << suffix;

  TestHome::write(home.data("reset-learning"), "");
  fs::remove(database + "-shm");  // a missing companion is no obstacle
  apply_reset_marker(database);
  for (const char* suffix : suffixes) EXPECT_FALSE(fs::exists(database + suffix)) << suffix;
  EXPECT_FALSE(fs::exists(home.data("reset-learning")));
  EXPECT_TRUE(fs::exists(home.data("other.db")));
}

TEST(CandidateFilter, RefusesPrivateUseAndUnassignedPlanes) {
  struct Case {
    const char* text;
    int accepted;
  } cases[] = {
      {"", 1},
      {"把", 1},
      {"a\xEF\xA4\x80", 1},          // U+F900, just past the private-use area
      {"\xF3\xAF\xBF\xBF", 1},       // U+EFFFF
      {"\xEE\x80\x80", 0},           // U+E000
      {"把\xEF\xA3\xBF", 0},         // U+F8FF after an ordinary character
      {"\xF3\xB0\x80\x80", 0},       // U+F0000
      {"\xF4\x8F\xBF\xBF", 0},       // U+10FFFF
      {"\xE6\x8A", 0},               // cut in the middle of a character
      {"\xC0\xAF", 0},               // overlong encoding
  };
  for (const Case& c : cases) {
    EXPECT_EQ(accept_candidate_text(nullptr, c.text, std::char_traits<char>::length(c.text)), c.accepted) << c.text;
  }
  EXPECT_EQ(accept_candidate_text(nullptr, nullptr, 0), 1);
}

TEST(StartSession, MissingModelIsReported) {
  TestHome home;
  RecordingHost host;
  HostServices services(host.table());
  FrontEndState state;
  EXPECT_EQ(start_session(state, services, (home.scratch() / "ZezAri.db").string()), 0);
  EXPECT_EQ(state.session, nullptr);
  ASSERT_EQ(host.reports.size(), 1u);
  EXPECT_EQ(host.reports[0], "Ferrolune's model is not in /usr/local/share/tovu/ferrolune");
}

TEST(StartSession, AppliesTheMarkerAndRecordsTimesBeforeCreatingTheSession) {
  TestHome home;
  const fs::path model = home.scratch() / "ZezAri.db";
  test::write_fixture_model(model);
  TestHome::write(home.config("ferrolune.json"), R"({"method":"traditional"})");
  TestHome::write(home.config("phonetic-keyboard2"), "zo 123456789\n");
  TestHome::write(home.data("ferrolune-user.db-journal"), "stale");
  TestHome::write(home.data("reset-learning"), "");
  RecordingHost host;
  HostServices services(host.table());
  FrontEndState state;

  int started = start_session(state, services, model.string());

  EXPECT_FALSE(fs::exists(home.data("reset-learning")));
  EXPECT_FALSE(fs::exists(home.data("ferrolune-user.db-journal")));
  EXPECT_EQ(state.settings_mtime, file_mtime(home.config("ferrolune.json")));
  EXPECT_EQ(state.keyboard_mtime, file_mtime(home.config("phonetic-keyboard2")));
  EXPECT_NE(state.settings_mtime, 0);
  if (started == 1) {
    EXPECT_NE(state.session, nullptr);
    EXPECT_TRUE(host.reports.empty());
    ferrolune_session_free(&state.session);
  } else {
    EXPECT_EQ(state.session, nullptr);
    ASSERT_EQ(host.reports.size(), 1u);
    EXPECT_TRUE(host.reports[0].starts_with("Ferrolune cannot start: ")) << host.reports[0];
    EXPECT_GT(host.reports[0].size(), std::string("Ferrolune cannot start: ").size());
  }
}

TEST(StartSession, MissingFilesGiveZeroTimes) {
  EXPECT_EQ(file_mtime("/nonexistent/ferrolune/file"), 0);
}

}  // namespace
}  // namespace ferrolune::frontend
