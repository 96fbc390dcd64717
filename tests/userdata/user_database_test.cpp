#include "userdata/user_database.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "support/sqlite_fixture.h"
#include "support/temp_dir.h"
#include "userdata/user_fixture.h"
#include "userdata/learning_store.h"
#include "userdata/user_schema.h"

namespace ferrolune::userdata {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::user_script;
using test::write_sqlite;

class UserDatabaseTest : public ::testing::Test {
 protected:
  UserDatabaseTest() { write_sqlite(model_, test::kMinimalModelSchema); }

  TempDir dir_;
  fs::path model_ = dir_.file("ZezAri.db");
  fs::path user_ = dir_.file("user.db");
};

std::vector<std::string> column_texts(const model::Connection& connection, const char* sql) {
  model::Statement statement;
  EXPECT_EQ(statement.prepare(connection, sql), SQLITE_OK) << connection.error_text();
  std::vector<std::string> values;
  while (statement.step() == SQLITE_ROW) {
    std::string row;
    for (int column = 0; column < statement.column_count(); ++column) {
      if (column) row += ",";
      row += statement.column_text(column);
    }
    values.push_back(row);
  }
  return values;
}

TEST_F(UserDatabaseTest, NewFileGetsTheSchemaMarksAndMetadataRow) {
  const mode_t previous = ::umask(027);
  auto database = open_user_database(user_.string(), model_.string());
  ::umask(previous);
  ASSERT_TRUE(database.has_value()) << database.error().message();
  EXPECT_FALSE(database->in_memory());

  struct stat info {};
  ASSERT_EQ(::stat(user_.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);

  // Read the file from a fresh connection so that only what reached the disk counts.
  auto source = open_source_database(user_.string());
  ASSERT_TRUE(source.has_value()) << source.error().message();
  EXPECT_EQ(column_texts(*source,
                         "SELECT name FROM sqlite_master WHERE type='table' ORDER BY name"),
            (std::vector<std::string>{"ferrolune_metadata", "table_learning", "user_bigram_cache",
                                      "user_candidate_override_cache", "user_unigrams"}));
  EXPECT_EQ(column_texts(*source, "PRAGMA application_id"), std::vector<std::string>{"1179798606"});
  EXPECT_EQ(column_texts(*source, "PRAGMA user_version"), std::vector<std::string>{"1"});
  EXPECT_EQ(column_texts(*source, "SELECT * FROM ferrolune_metadata"),
            std::vector<std::string>{"1,0,0"});

  // Reopening the file it created passes every check.
  database = std::unexpected(model::ModelError{});
  auto again = open_user_database(user_.string(), model_.string());
  ASSERT_TRUE(again.has_value()) << again.error().message();
}

TEST_F(UserDatabaseTest, AcceptsExistingDatabasesWithDataAndExtraIndexes) {
  write_sqlite(user_, user_script(
                          "CREATE INDEX phrase_text ON user_unigrams(current);"
                          "INSERT INTO user_unigrams VALUES('ab','x',-1.5,0);"
                          "INSERT INTO table_learning VALUES('cangjie','a','y',3);"
                          "UPDATE ferrolune_metadata SET generation=4, revision=9;"));
  auto database = open_user_database(user_.string(), model_.string());
  ASSERT_TRUE(database.has_value()) << database.error().message();
  auto state = refresh_learning(database->connection());
  ASSERT_TRUE(state.has_value()) << state.error().message();
  EXPECT_EQ(state->phrases, (std::vector<model::Unigram>{{"ab", "x", -1.5, 0}}));
  EXPECT_EQ(state->table_counts, (std::vector<TableLearning>{{"cangjie", "a", "y", 3}}));
  EXPECT_EQ(state->generation, 4);
  EXPECT_EQ(state->revision, 9);
}

struct Refusal {
  const char* name;
  // Prepares the user path (or what it names) and returns the path to open.
  std::function<fs::path(const fs::path& user, const fs::path& model, const TempDir& dir)> setup;
  const char* message;
};

fs::path with_script(const fs::path& user, const std::string& script) {
  write_sqlite(user, script);
  return user;
}

TEST_F(UserDatabaseTest, RefusesFilesThatAreNotThisUserDatabaseAndLeavesThemUnchanged) {
  const char* unsupported =
      "invalid model schema: not a supported Ferrolune user database; import legacy data "
      "explicitly";
  const char* same = "invalid input: user database must differ from shared model";
  const Refusal cases[] = {
      {"zero-byte file",
       [](const fs::path& user, const fs::path&, const TempDir&) {
         std::ofstream out(user);
         return user;
       },
       unsupported},
      {"foreign database",
       [](const fs::path& user, const fs::path&, const TempDir&) {
         return with_script(user, "CREATE TABLE notes(text TEXT);");
       },
       unsupported},
      {"older user version",
       [](const fs::path& user, const fs::path&, const TempDir&) {
         return with_script(user, user_script("PRAGMA user_version = 0;"));
       },
       unsupported},
      {"extra table",
       [](const fs::path& user, const fs::path&, const TempDir&) {
         return with_script(user, user_script("CREATE TABLE extra(x TEXT);"));
       },
       "invalid model schema: unexpected user database tables"},
      {"missing table",
       [](const fs::path& user, const fs::path&, const TempDir&) {
         return with_script(user, user_script("DROP TABLE user_bigram_cache;"));
       },
       "invalid model schema: missing user table user_bigram_cache"},
      {"renamed column",
       [](const fs::path& user, const fs::path&, const TempDir&) {
         return with_script(user, user_script({}, "backoff REAL", "back_off REAL"));
       },
       "invalid model schema: unexpected columns in user_unigrams"},
      {"count declared INT",
       [](const fs::path& user, const fs::path&, const TempDir&) {
         return with_script(user, user_script({}, "count INTEGER", "count INT"));
       },
       "invalid model schema: unexpected types in table_learning"},
      {"view",
       [](const fs::path& user, const fs::path&, const TempDir&) {
         return with_script(user, user_script("CREATE VIEW v AS SELECT * FROM user_unigrams;"));
       },
       "invalid model schema: user database must not contain views or triggers"},
      {"trigger",
       [](const fs::path& user, const fs::path&, const TempDir&) {
         return with_script(user, user_script("CREATE TRIGGER t AFTER INSERT ON user_unigrams "
                                              "BEGIN DELETE FROM user_bigram_cache; END;"));
       },
       "invalid model schema: user database must not contain views or triggers"},
      {"missing unique identity",
       [](const fs::path& user, const fs::path&, const TempDir&) {
         return with_script(user, user_script({}, "qstring TEXT NOT NULL UNIQUE,\n    previous",
                                              "qstring TEXT NOT NULL,\n    previous"));
       },
       "invalid model schema: missing unique identity for user_bigram_cache"},
      {"identity in the wrong order",
       [](const fs::path& user, const fs::path&, const TempDir&) {
         return with_script(user, user_script({}, "UNIQUE(method,code,current)",
                                              "UNIQUE(code,method,current)"));
       },
       "invalid model schema: missing unique identity for table_learning"},
      {"two metadata rows",
       [](const fs::path& user, const fs::path&, const TempDir&) {
         return with_script(user, user_script("INSERT INTO ferrolune_metadata VALUES(2,0,0);",
                                              "CHECK(id=1)", ""));
       },
       "invalid model data: invalid user metadata"},
      {"negative revision",
       [](const fs::path& user, const fs::path&, const TempDir&) {
         return with_script(user, user_script("UPDATE ferrolune_metadata SET revision=-1;",
                                              "CHECK(revision>=0)", ""));
       },
       "invalid model data: invalid user metadata"},
      {"model tables beside the user tables",
       [](const fs::path& user, const fs::path&, const TempDir&) {
         return with_script(user, user_script("CREATE TABLE BIGRAMS(x TEXT);"));
       },
       "invalid input: shared/model database cannot be used as writable user data"},
      {"invalid stored row",
       [](const fs::path& user, const fs::path&, const TempDir&) {
         return with_script(user,
                            user_script("INSERT INTO table_learning VALUES('smart','a','b',1);"));
       },
       "invalid input: invalid table learning method"},
      {"the model itself",
       [](const fs::path&, const fs::path& model, const TempDir&) { return model; }, same},
      {"symbolic link to the model",
       [](const fs::path& user, const fs::path& model, const TempDir&) {
         fs::create_symlink(model, user);
         return user;
       },
       same},
      {"hard link to the model",
       [](const fs::path& user, const fs::path& model, const TempDir&) {
         fs::create_hard_link(model, user);
         return user;
       },
       same},
      {"model through a linked directory",
       [](const fs::path&, const fs::path& model, const TempDir& dir) {
         fs::create_directory_symlink(dir.path(), dir.file("alias"));
         return dir.file("alias") / model.filename();
       },
       same},
      {"directory",
       [](const fs::path& user, const fs::path&, const TempDir&) {
         fs::create_directory(user);
         return user;
       },
       "invalid input: user database must be a regular file"},
      {"dangling symbolic link",
       [](const fs::path& user, const fs::path&, const TempDir& dir) {
         fs::create_symlink(dir.file("nowhere.db"), user);
         return user;
       },
       "could not open model: No such file or directory"},
      {"missing directory",
       [](const fs::path&, const fs::path&, const TempDir& dir) {
         return dir.file("absent") / "user.db";
       },
       "could not open model: No such file or directory"},
  };
  for (const auto& test : cases) {
    TempDir dir;
    const fs::path model = dir.file("ZezAri.db");
    write_sqlite(model, test::kMinimalModelSchema);
    const fs::path path = test.setup(dir.file("user.db"), model, dir);
    const bool regular = fs::is_regular_file(path);
    const std::string before = regular ? test::file_bytes(path) : std::string();
    const std::string model_before = test::file_bytes(model);
    const auto entries_before = std::distance(fs::directory_iterator(dir.path()), {});

    auto database = open_user_database(path.string(), model.string());
    ASSERT_FALSE(database.has_value()) << test.name;
    EXPECT_EQ(database.error().message(), test.message) << test.name;
    if (regular) {
      EXPECT_EQ(test::file_bytes(path), before) << test.name;
    }
    EXPECT_EQ(test::file_bytes(model), model_before) << test.name;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), entries_before)
        << test.name << ": a companion file was left behind";
  }
}

TEST_F(UserDatabaseTest, RefusesBadPathsBeforeTouchingTheFileSystem) {
  for (const std::string& path : {std::string(), std::string("a\0b", 3)}) {
    auto database = open_user_database(path, model_.string());
    ASSERT_FALSE(database.has_value());
    EXPECT_EQ(database.error().message(),
              "invalid input: database path must be nonempty and contain no NUL");
  }
  // A table without rowid is refused with SQLite's own text.
  write_sqlite(user_, user_script({}, "qstring TEXT NOT NULL UNIQUE,\n    current TEXT NOT NULL\n);",
                                  "qstring TEXT NOT NULL PRIMARY KEY,\n    current TEXT NOT NULL\n) WITHOUT ROWID;"));
  auto database = open_user_database(user_.string(), model_.string());
  ASSERT_FALSE(database.has_value());
  EXPECT_EQ(database.error().kind, model::ModelErrorKind::InvalidSchema);
  EXPECT_NE(database.error().detail.find("rowid"), std::string::npos) << database.error().detail;
}

TEST_F(UserDatabaseTest, DistinctnessToleratesPathsThatDoNotExist) {
  EXPECT_TRUE(ensure_distinct_from_model(user_.string(), model_.string(), "same").has_value());
  EXPECT_TRUE(ensure_distinct_from_model(user_.string(), user_.string(), "same").has_value())
      << "a path that does not exist names no file";
  auto refused = ensure_distinct_from_model(model_.string(), model_.string(), "same file");
  ASSERT_FALSE(refused.has_value());
  EXPECT_EQ(refused.error(), (model::ModelError{model::ModelErrorKind::InvalidInput, "same file"}));
}

TEST_F(UserDatabaseTest, SourceDatabasesAreReadOnly) {
  write_sqlite(user_, user_script());
  auto source = open_source_database(user_.string());
  ASSERT_TRUE(source.has_value()) << source.error().message();
  EXPECT_NE(source->exec("INSERT INTO user_candidate_override_cache VALUES('a','b')"), SQLITE_OK);
  auto directory = open_source_database(dir_.path().string());
  ASSERT_FALSE(directory.has_value());
  EXPECT_EQ(directory.error().message(), "invalid input: source must be a regular file");
}

TEST_F(UserDatabaseTest, MemoryDatabasesStartEmptyAndLeaveNoFile) {
  auto database = open_memory_user_database();
  ASSERT_TRUE(database.has_value()) << database.error().message();
  EXPECT_TRUE(database->in_memory());
  auto metadata = validate_user_database(database->connection());
  ASSERT_TRUE(metadata.has_value()) << metadata.error().message();
  EXPECT_EQ(*metadata, (UserMetadata{0, 0}));
  auto state = refresh_learning(database->connection());
  ASSERT_TRUE(state.has_value());
  EXPECT_EQ(*state, LearningState{});
}

}  // namespace
}  // namespace ferrolune::userdata
