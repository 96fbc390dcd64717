#include <gtest/gtest.h>
#include <glib.h>

#include <filesystem>
#include <string>

#include "settings.h"
#include "test_home.h"
#include "tovu_module.h"

namespace ferrolune::frontend {
namespace {

using test::TestHome;
namespace fs = std::filesystem;

bool operator==(const ferrolune_conf& a, const ferrolune_conf& b) {
  return a.method_traditional == b.method_traditional && a.learning == b.learning &&
         a.space_opens_candidates == b.space_opens_candidates &&
         a.candidate_cursor_at_end == b.candidate_cursor_at_end &&
         a.selection_returns_to_end == b.selection_returns_to_end &&
         a.clear_composing_with_escape == b.clear_composing_with_escape &&
         a.max_completed_syllables == b.max_completed_syllables;
}

ferrolune_conf load() {
  ferrolune_conf conf{};
  ferrolune_conf_load(&conf);
  return conf;
}

TEST(Settings, PathsFollowHome) {
  TestHome home;
  gchar* conf = ferrolune_conf_path();
  gchar* marker = ferrolune_home_path("reset-learning");
  EXPECT_EQ(fs::path(conf), home.config("ferrolune.json"));
  EXPECT_EQ(fs::path(marker), home.data("reset-learning"));
  g_free(conf);
  g_free(marker);
}

TEST(Settings, LoadTakesOnlyWellTypedMembers) {
  TestHome home;
  ferrolune_conf defaults = default_conf();
  ferrolune_conf traditional = defaults;
  traditional.method_traditional = 1;
  ferrolune_conf all_set{1, 0, 0, 1, 1, 1, 20};
  ferrolune_conf limit_15 = defaults;
  limit_15.max_completed_syllables = 15;
  struct Case {
    const char* file;  // null: no file
    ferrolune_conf expected;
  } cases[] = {
      {nullptr, defaults},
      {"", defaults},
      {"{\"method\":", defaults},
      {"[1,2]", defaults},
      {R"({"method":"smart","max_completed_syllables":25})", defaults},
      {R"({"learning":"false"})", defaults},
      {R"({"method":"traditional"})", traditional},
      {R"({"method":"Traditional"})", defaults},
      {R"({"method":1})", defaults},
      {R"({"max_completed_syllables":9})", defaults},
      {R"({"max_completed_syllables":15.0})", defaults},
      {R"({"max_completed_syllables":15})", limit_15},
      {R"({"space_opens_candidates":0,"unknown":true})", defaults},
      {R"({"method":"traditional","learning":false,"space_opens_candidates":false,"candidate_cursor_at_end":true,
           "selection_returns_to_end":true,"clear_composing_with_escape":true,"max_completed_syllables":20})",
       all_set},
  };
  for (const Case& c : cases) {
    fs::remove(home.config("ferrolune.json"));
    if (c.file != nullptr) TestHome::write(home.config("ferrolune.json"), c.file);
    EXPECT_TRUE(load() == c.expected) << (c.file != nullptr ? c.file : "(no file)");
  }
}

TEST(Settings, SaveWritesMembersInOrderAndReadsBack) {
  TestHome home;
  ferrolune_conf conf{1, 0, 1, 0, 1, 0, 12};
  ASSERT_EQ(ferrolune_conf_save(&conf), 1);
  EXPECT_EQ(TestHome::read(home.config("ferrolune.json")),
            "{\n"
            "  \"method\":\"traditional\",\n"
            "  \"learning\":false,\n"
            "  \"space_opens_candidates\":true,\n"
            "  \"candidate_cursor_at_end\":false,\n"
            "  \"selection_returns_to_end\":true,\n"
            "  \"clear_composing_with_escape\":false,\n"
            "  \"max_completed_syllables\":12\n"
            "}\n");
  EXPECT_FALSE(fs::exists(home.config("ferrolune.json.tmp")));
  EXPECT_TRUE(load() == conf);
  EXPECT_EQ(fs::status(home.config("")).permissions() & fs::perms::all, fs::perms::owner_all);

  // The value is written as given, even outside the range loading accepts.
  conf.max_completed_syllables = 99;
  ASSERT_EQ(ferrolune_conf_save(&conf), 1);
  EXPECT_NE(TestHome::read(home.config("ferrolune.json")).find("\"max_completed_syllables\":99"), std::string::npos);
}

TEST(Settings, FailedSaveKeepsTheOldFileAndLeavesNoTemporary) {
  TestHome home;
  const std::string old_text = R"({"method":"traditional"})";
  TestHome::write(home.config("ferrolune.json"), old_text);
  ferrolune_conf conf = default_conf();

  // Writing fails: the temporary file is a full disk.
  fs::create_symlink("/dev/full", home.config("ferrolune.json.tmp"));
  EXPECT_EQ(ferrolune_conf_save(&conf), 0);
  EXPECT_FALSE(fs::exists(fs::symlink_status(home.config("ferrolune.json.tmp"))));
  EXPECT_EQ(TestHome::read(home.config("ferrolune.json")), old_text);

  // Renaming fails: a directory stands where the file should be.
  fs::remove(home.config("ferrolune.json"));
  fs::create_directories(home.config("ferrolune.json") / "inside");
  EXPECT_EQ(ferrolune_conf_save(&conf), 0);
  EXPECT_FALSE(fs::exists(home.config("ferrolune.json.tmp")));
  EXPECT_TRUE(fs::is_directory(home.config("ferrolune.json") / "inside"));
}

TEST(Settings, NullRecordIsRefused) {
  TestHome home;
  ferrolune_conf_load(nullptr);
  EXPECT_EQ(ferrolune_conf_save(nullptr), 0);
  EXPECT_FALSE(fs::exists(home.config("ferrolune.json")));
}

}  // namespace
}  // namespace ferrolune::frontend
