// Input sessions through the public interface: the answer document, the
// transaction around each operation, and sessions sharing a user database.
#include <gtest/gtest.h>

#include <string>

#include "capi_session.h"
#include "capi_support.h"
#include "ferrolune.h"
#include "support/sqlite_fixture.h"
#include "support/temp_dir.h"

namespace ferrolune::capi {
namespace {

class SessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    model_ = dir_.file("model.db").string();
    test::write_sqlite(model_, std::string(test::kMinimalModelSchema) +
                                   "INSERT INTO unigrams VALUES ('*', '', -5.0, -1.5);"
                                   "INSERT INTO unigrams VALUES ('xy', 'z', -2.0, 0.0);");
  }
  test::TempDir dir_;
  std::string model_;
};

TEST_F(SessionTest, FreshSessionDocument) {
  Session session(model_, "");
  ASSERT_EQ(session.status(), FERROLUNE_OK) << last_error_text();
  EXPECT_EQ(session.snapshot(),
            R"({"schema_version":1,"kind":"session","method":"traditional","profile":"desktop",)"
            R"("layout":"standard","english":false,"full_width":false,)"
            R"("behaviors":{"ignore_caps_lock_in_chinese":false,"literal_keypad":true},)"
            R"("composition":"","visible_text":"",)"
            R"("smart_options":{"use_bigrams":true,"space_opens_candidates":true,"candidate_cursor_at_end":false,)"
            R"("clear_composing_with_escape":false,"shift_always_uppercase":false,"max_completed_syllables":10,)"
            R"("shift_at_limit":false,"selection_returns_to_end":false,"candidate_selection_keys":null},)"
            R"("learning":{"user_phrases":true,"candidate_overrides":false,"bigrams":false,"table_learning":false},)"
            R"("user_data":{"generation":0,"revision":0,"phrases":0,"overrides":0,"bigrams":0,"table_entries":0},)"
            R"("readings":[],"reading_cursor":0,"segments":[],"candidate_spans":[],"marked_phrase":null,)"
            R"("reading":"","phonetic":"","code":"","cursor":0,"cursor_unit":"unicode_scalar",)"
            R"("candidates":[],"displayed_candidates":[],"page":0,"page_size":9,"page_count":0,"highlight":null,)"
            R"("table_options":{"realtime":false,"prefix":false,"clear_on_error":true,"query_at_maximum":false,)"
            R"("learn_selection":true,"punctuation":"original","maximum_radical_length":null,)"
            R"("space_as_first_selection_key":false,"space_commits_first_on_single_page":null,"wildcards":null},)"
            R"("effects":{"commit":"","handled":false,"beep":false,"delete_backward":false,"send_return":false,)"
            R"("discard_composition":false,"phrase_feedback":null}})");
}

TEST_F(SessionTest, CommitShowsOnlyInTheAnswerOfItsOperation) {
  Session session(model_, R"({"layout":"hsu"})");
  ASSERT_EQ(session.status(), FERROLUNE_OK) << last_error_text();
  EXPECT_EQ(member(session.snapshot(), "page_size"), "8");
  session.input(R"({"type":"set_english","enabled":true})");
  const std::string typed = session.input(R"({"type":"character","text":"a"})");
  EXPECT_EQ(member(typed, "commit"), "\"a\"");
  EXPECT_EQ(member(typed, "handled"), "true");
  EXPECT_EQ(member(session.snapshot(), "commit"), "\"\"");

  session.input(R"({"type":"toggle_full_width"})");
  EXPECT_EQ(member(session.input(R"(["character","a"])"), "commit"), "\"ａ\"");
  EXPECT_EQ(member(session.input(R"({"type":"key","key":"space"})"), "commit"), "\"　\"");
  const std::string passed = session.input(R"({"type":"character","text":"a","modifiers":{"control":true}})");
  EXPECT_EQ(member(passed, "handled"), "false");
  EXPECT_EQ(member(passed, "commit"), "\"\"");
}

TEST_F(SessionTest, EveryFailureLeavesTheSessionAsItWas) {
  Session session(model_, "");
  ASSERT_EQ(session.status(), FERROLUNE_OK);
  session.input(R"({"type":"set_full_width","enabled":true})");
  const std::string before = session.snapshot();
  struct Case {
    const char* operation;
    const char* answer;
  };
  const Case cases[] = {
      {R"({"type":"select","index":9})", "status 1: candidate index is not page-local"},
      {R"({"type":"select","index":0})", "status 1: candidate index is outside the list"},
      {R"({"type":"set_cursor","index":0})", "status 1: cursor is outside the completed reading range"},
      {R"({"type":"open_candidates","index":0})", "status 1: open_candidates requires Smart Mandarin"},
      {R"({"type":"close_candidates"})", "status 1: close_candidates requires Smart Mandarin"},
      {R"({"type":"reset_method_learning","method":"traditional"})",
       "status 1: Traditional Bopomofo has no learned data"},
      {R"({"type":"character","text":"ab"})", "status 1: character text must be one non-control Unicode scalar"},
      {R"({"type":"set_table_options","method":"smart","options":{}})",
       "status 1: table options require Cangjie or Simplex"},
      {R"({"type":"remove_user_phrase","qstring":"xy","text":""})",
       "status 1: phrase query and text must be nonempty without NUL"},
      {R"({"type":"update_user_phrase","qstring":"xy","text":"z","new_qstring":"xy","new_text":"w"})",
       "status 1: user phrase does not exist"},
      {R"({"type":"import_user_data","archive":{"format":"ferrolune_user_data","schema_version":2,"phrases":[]}})",
       "status 1: invalid input: unsupported user archive schema version"},
      {R"({"type":"reset"})", nullptr},
  };
  for (const Case& c : cases) {
    const std::string answer = session.input(c.operation);
    if (c.answer) EXPECT_EQ(answer, c.answer) << c.operation;
    EXPECT_EQ(session.snapshot(), before) << c.operation;
  }
  EXPECT_EQ(session.input("{\"type\":\"reset\"\xff}").substr(0, 9), "status 2:");
  EXPECT_EQ(session.input(R"({"type":"reset")").substr(0, 35), "status 1: invalid input operation: ");
  EXPECT_EQ(session.snapshot(), before);
}

TEST_F(SessionTest, CreationFailuresLeaveNothing) {
  struct Case {
    std::string model;
    std::string config;
    int32_t status;
    std::string message;
  };
  const std::string missing = dir_.file("missing.db").string();
  const Case cases[] = {
      {"", "", FERROLUNE_INVALID_ARGUMENT, "database path is empty"},
      {model_, R"({"smart":{"max_completed_syllables":9}})", FERROLUNE_INVALID_ARGUMENT,
       "smart composition limit must be within 10..20 completed readings"},
      {model_, R"({"methd":"smart"})", FERROLUNE_INVALID_ARGUMENT, "invalid session configuration: unknown field `methd`"},
      {model_, R"({"user_database":")" + model_ + R"("})", FERROLUNE_INVALID_ARGUMENT,
       "invalid input: user database must differ from shared model"},
      {missing, "", FERROLUNE_STORAGE_ERROR, "could not open model: "},
  };
  for (const Case& c : cases) {
    ferrolune_session* session = reinterpret_cast<ferrolune_session*>(1);
    EXPECT_EQ(ferrolune_session_new(c.model.data(), c.model.size(), c.config.data(), c.config.size(), &session),
              c.status)
        << c.config;
    EXPECT_EQ(session, nullptr);
    EXPECT_EQ(last_error_text().substr(0, c.message.size()), c.message) << c.config;
  }
  EXPECT_EQ(ferrolune_session_new(model_.data(), model_.size(), nullptr, 0, nullptr), FERROLUNE_INVALID_ARGUMENT);
  EXPECT_EQ(last_error_text(), "session output pointer is null");
}

TEST_F(SessionTest, SessionsSharingAUserDatabaseSeeEachOthersChanges) {
  const std::string config = R"({"user_database":")" + dir_.file("user.db").string() + R"("})";
  Session first(model_, config);
  Session second(model_, config);
  ASSERT_EQ(first.status(), FERROLUNE_OK) << last_error_text();
  ASSERT_EQ(second.status(), FERROLUNE_OK) << last_error_text();

  const std::string reset = first.input(R"({"type":"reset_learning"})");
  EXPECT_EQ(member(reset, "user_data"),
            R"({"generation":1,"revision":1,"phrases":0,"overrides":0,"bigrams":0,"table_entries":0})");
  // The other session reloads before its next operation.
  EXPECT_EQ(member(second.input(R"({"type":"save_learning"})"), "user_data"),
            R"({"generation":1,"revision":1,"phrases":0,"overrides":0,"bigrams":0,"table_entries":0})");

  const std::string archive =
      R"({"type":"import_user_data","archive":{"format":"ferrolune_user_data","schema_version":1,)"
      R"("phrases":[{"qstring":"xy","current":"w","probability":-3,"backoff":0}],"table":[]}})";
  EXPECT_EQ(member(second.input(archive), "user_data"),
            R"({"generation":4,"revision":2,"phrases":1,"overrides":0,"bigrams":0,"table_entries":0})");
  EXPECT_EQ(member(first.input(R"({"type":"save_learning"})"), "user_data"),
            R"({"generation":4,"revision":2,"phrases":1,"overrides":0,"bigrams":0,"table_entries":0})");

  ferrolune_result* exported = nullptr;
  ASSERT_EQ(ferrolune_session_export_user_data(first.get(), &exported), FERROLUNE_OK) << last_error_text();
  EXPECT_EQ(result_text(exported),
            R"({"schema_version":1,"kind":"user_data","data":{"generation":4,"revision":2,)"
            R"("phrases":[{"qstring":"xy","current":"w","probability":-3,"backoff":0}],)"
            R"("overrides":[],"bigrams":[],"table":[]}})");
  ferrolune_result_free(&exported);
}

TEST_F(SessionTest, AnImportWithNothingInItStillCountsAsARevision) {
  Session session(model_, "");
  ASSERT_EQ(session.status(), FERROLUNE_OK);
  const std::string empty =
      R"({"type":"import_user_data","archive":{"format":"ferrolune_user_data","schema_version":1,"phrases":[]}})";
  EXPECT_EQ(member(session.input(empty), "user_data"),
            R"({"generation":0,"revision":1,"phrases":0,"overrides":0,"bigrams":0,"table_entries":0})");
  // Other operations without changes write nothing.
  EXPECT_EQ(member(session.input(R"({"type":"save_learning"})"), "user_data"),
            R"({"generation":0,"revision":1,"phrases":0,"overrides":0,"bigrams":0,"table_entries":0})");
}

TEST_F(SessionTest, ValidatesArchivesWithoutASession) {
  const std::string good = R"({"format":"ferrolune_user_data","schema_version":1,"phrases":[]})";
  EXPECT_EQ(ferrolune_validate_user_archive(good.data(), good.size()), FERROLUNE_OK);
  const std::string exported = R"({"schema_version":1,"kind":"user_data","data":{}})";
  EXPECT_EQ(ferrolune_validate_user_archive(exported.data(), exported.size()), FERROLUNE_INVALID_ARGUMENT);
  EXPECT_EQ(last_error_text().substr(0, 21), "invalid user archive:");
  const std::string zero = R"({"format":"ferrolune_user_data","schema_version":1,"phrases":[],)"
                           R"("table":[{"method":"cangjie","code":"a","current":"日","count":0}]})";
  EXPECT_EQ(ferrolune_validate_user_archive(zero.data(), zero.size()), FERROLUNE_INVALID_ARGUMENT);
  EXPECT_EQ(last_error_text(), "invalid input: table frequency must be positive");
}

}  // namespace
}  // namespace ferrolune::capi
