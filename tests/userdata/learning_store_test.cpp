#include "userdata/learning_store.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "support/sqlite_fixture.h"
#include "support/temp_dir.h"
#include "userdata/user_fixture.h"
#include "userdata/learning_change.h"
#include "userdata/user_database.h"

namespace ferrolune::userdata {
namespace {

namespace fs = std::filesystem;
using model::ModelErrorKind;
using test::TempDir;
using test::write_sqlite;
using Changes = std::vector<LearningChange>;

constexpr auto kMaximumCount = std::numeric_limits<std::int64_t>::max();

// A user database file with `extra` SQL run after the schema, and a model
// beside it.
class LearningStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { write_sqlite(model_, test::kMinimalModelSchema); }

  UserDatabase open(std::string_view extra = {}) {
    if (!fs::exists(user_)) write_sqlite(user_, test::user_script(extra));
    auto database = open_user_database(user_.string(), model_.string());
    if (!database) throw std::runtime_error(database.error().message());
    return std::move(*database);
  }

  LearningState load(const UserDatabase& database) {
    auto state = refresh_learning(database.connection());
    if (!state) throw std::runtime_error(state.error().message());
    return std::move(*state);
  }

  TempDir dir_;
  fs::path model_ = dir_.file("ZezAri.db");
  fs::path user_ = dir_.file("user.db");
};

// Applies `changes` in memory, writes them, and checks that the state after
// the commit, and the state another connection then loads, equal the
// in-memory result.
LearningState apply_and_write(const UserDatabase& database, const UserDatabase& reader,
                              const LearningState& state, const Changes& changes) {
  auto applied = apply_learning_changes(state, changes);
  EXPECT_TRUE(applied.has_value()) << applied.error().message();
  auto written = write_learning_changes(database.connection(), state.generation, changes);
  EXPECT_TRUE(written.has_value()) << written.error().message();
  if (!applied || !written) return state;
  EXPECT_EQ(written->status, WriteStatus::Applied);
  EXPECT_EQ(written->state, *applied);
  auto reloaded = refresh_learning(reader.connection());
  EXPECT_TRUE(reloaded.has_value());
  if (reloaded) {
    EXPECT_EQ(*reloaded, *applied);
  }
  return *applied;
}

TEST_F(LearningStoreTest, EveryChangeHasTheSameEffectInMemoryAndOnDisk) {
  const UserDatabase database = open();
  const UserDatabase reader = open();
  LearningState state = load(database);

  using namespace change;
  struct Step {
    const char* name;
    Changes changes;
    std::function<void(const LearningState&)> check;
  };
  const Step steps[] = {
      {"first learning",
       {PhraseUpsert{{"ab", "x", -1, -0.5}}, PhraseUpsert{{"ab", "y", -2, 0}},
        PhraseInsertIfAbsent{{"cd", "z", -3, 0}}, OverrideSet{"k1", "v1"}, OverrideSet{"k2", "v2"},
        BigramSet{{"q1", "", "c1", -1}}, BigramSet{{"q2", "p2", "c2", -2}},
        TableCountIncrement{"cangjie", "a", "A"}, TableCountSet{"simplex", "b", "B", 7},
        TableCountIncrement{"traditional", "c", "C"}},
       [](const LearningState& s) {
         EXPECT_EQ(s.phrases.size(), 3u);
         EXPECT_EQ(s.table_counts,
                   (std::vector<TableLearning>{
                       {"cangjie", "a", "A", 1}, {"simplex", "b", "B", 7}, {"traditional", "c", "C", 1}}));
         EXPECT_EQ(s.revision, 1);
         EXPECT_EQ(s.generation, 0);
       }},
      {"updates keep positions, cache writes move to newest",
       {PhraseUpsert{{"ab", "x", -9, -8}}, PhraseInsertIfAbsent{{"ab", "y", 5, 5}},
        OverrideSet{"k1", "v1b"}, BigramSet{{"q1", "p", "c1b", -4}},
        TableCountIncrement{"cangjie", "a", "A"}, TableCountSet{"simplex", "b", "B", 2}},
       [](const LearningState& s) {
         EXPECT_EQ(s.phrases.front(), (model::Unigram{"ab", "x", -9, -8}));
         EXPECT_EQ(s.phrases[1], (model::Unigram{"ab", "y", -2, 0}));
         EXPECT_EQ(s.overrides,
                   (std::vector<CandidateOverride>{{"k2", "v2"}, {"k1", "v1b"}}));
         EXPECT_EQ(s.bigrams.back().current, "c1b");
         EXPECT_EQ(s.table_counts[0].count, 2);
         EXPECT_EQ(s.table_counts[1].count, 2);
         EXPECT_EQ(s.revision, 2);
       }},
      {"deletions", {PhraseDelete{"cd", "z"}, PhraseDelete{"no", "such"}, OverrideSet{"k2", {}}},
       [](const LearningState& s) {
         EXPECT_EQ(s.phrases.size(), 2u);
         EXPECT_EQ(s.overrides, (std::vector<CandidateOverride>{{"k1", "v1b"}}));
       }},
      {"method reset", {ResetTableMethod{"cangjie"}},
       [](const LearningState& s) {
         EXPECT_EQ(s.table_counts.size(), 2u);
         EXPECT_EQ(s.generation, 1);
         EXPECT_EQ(s.revision, 4);
       }},
      {"smart reset", {ResetSmartLearning{}},
       [](const LearningState& s) {
         EXPECT_TRUE(s.overrides.empty());
         EXPECT_TRUE(s.bigrams.empty());
         EXPECT_EQ(s.table_counts.size(), 2u);
         EXPECT_EQ(s.generation, 2);
       }},
      {"learning after a reset, then a full reset in the same write",
       {OverrideSet{"k3", "v3"}, TableCountIncrement{"cangjie", "d", "D"}, ResetAllLearning{},
        BigramSet{{"q3", "", "c3", 0}}},
       [](const LearningState& s) {
         EXPECT_EQ(s.phrases.size(), 2u) << "resets never remove user phrases";
         EXPECT_TRUE(s.overrides.empty());
         EXPECT_TRUE(s.table_counts.empty());
         EXPECT_EQ(s.bigrams.size(), 1u);
         EXPECT_EQ(s.generation, 3);
         EXPECT_EQ(s.revision, 6);
       }},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.name);
    state = apply_and_write(database, reader, state, step.changes);
    step.check(state);
  }
}

std::string numbered(std::string_view prefix, int number) {
  std::string text(prefix);
  text.append(std::to_string(number));
  return text;
}

TEST_F(LearningStoreTest, CachesKeepTheNewestTwoHundredEntries) {
  const UserDatabase database = open();
  const UserDatabase reader = open();
  LearningState state = load(database);

  Changes first;
  for (int key = 0; key < 200; ++key) {
    first.push_back(change::OverrideSet{numbered("o", key), "v"});
    first.push_back(change::BigramSet{{numbered("b", key), "", "v", 0}});
  }
  state = apply_and_write(database, reader, state, first);
  ASSERT_EQ(state.overrides.size(), 200u);

  // Touching the oldest key makes it the newest, so the next new key evicts o1.
  state = apply_and_write(database, reader, state, {change::OverrideSet{"o0", "w"}});
  state = apply_and_write(database, reader, state,
                          {change::OverrideSet{"o200", "v"}, change::BigramSet{{"b200", "", "v", 0}}});
  ASSERT_EQ(state.overrides.size(), 200u);
  ASSERT_EQ(state.bigrams.size(), 200u);
  EXPECT_EQ(state.overrides.front().qstring, "o2");
  EXPECT_EQ(state.overrides[198], (CandidateOverride{"o0", "w"}));
  EXPECT_EQ(state.overrides.back().qstring, "o200");
  EXPECT_EQ(state.bigrams.front().qstring, "b1");

  // More than the capacity in one change list.
  Changes burst;
  for (int key = 0; key < 450; ++key) {
    burst.push_back(change::OverrideSet{numbered("n", key), "v"});
  }
  state = apply_and_write(database, reader, state, burst);
  ASSERT_EQ(state.overrides.size(), 200u);
  EXPECT_EQ(state.overrides.front().qstring, "n250");
}

TEST_F(LearningStoreTest, TableCountsOverflowWithoutWriting) {
  const UserDatabase database =
      open("INSERT INTO table_learning VALUES('cangjie','a','A',9223372036854775807);");
  const LearningState state = load(database);
  ASSERT_EQ(state.table_counts.front().count, kMaximumCount);
  const std::string before = test::file_bytes(user_);

  // Later changes in the list are not written either.
  const Changes changes = {change::PhraseUpsert{{"ab", "x", -1, 0}},
                           change::OverrideSet{"k", "v"},
                           change::TableCountIncrement{"cangjie", "a", "A"},
                           change::BigramSet{{"q", "", "c", 0}}};
  const model::ModelError overflow{ModelErrorKind::InvalidData, "table frequency overflow"};
  auto applied = apply_learning_changes(state, changes);
  ASSERT_FALSE(applied.has_value());
  EXPECT_EQ(applied.error(), overflow);
  auto written = write_learning_changes(database.connection(), state.generation, changes);
  ASSERT_FALSE(written.has_value());
  EXPECT_EQ(written.error(), overflow);
  EXPECT_EQ(test::file_bytes(user_), before);
  EXPECT_EQ(load(database), state);
}

TEST_F(LearningStoreTest, CountersThatWouldOverflowAreRefused) {
  const UserDatabase database = open(
      "UPDATE ferrolune_metadata SET generation=9223372036854775807, "
      "revision=9223372036854775806;");
  LearningState state = load(database);
  for (const Changes& changes : {Changes{change::ResetSmartLearning{}}}) {
    auto applied = apply_learning_changes(state, changes);
    ASSERT_FALSE(applied.has_value());
    EXPECT_EQ(applied.error().message(), "invalid model data: learning generation overflow");
    auto written = write_learning_changes(database.connection(), state.generation, changes);
    ASSERT_FALSE(written.has_value());
    EXPECT_EQ(written.error().message(), "invalid model data: learning generation overflow");
  }
  const Changes cache = {change::OverrideSet{"k", "v"}};
  auto written = write_learning_changes(database.connection(), state.generation, cache);
  ASSERT_TRUE(written.has_value()) << written.error().message();
  EXPECT_EQ(written->state.revision, kMaximumCount);
  state = written->state;
  auto applied = apply_learning_changes(state, cache);
  ASSERT_FALSE(applied.has_value());
  EXPECT_EQ(applied.error().message(), "invalid model data: user revision overflow");
  written = write_learning_changes(database.connection(), state.generation, cache);
  ASSERT_FALSE(written.has_value());
  EXPECT_EQ(written.error().message(), "invalid model data: user revision overflow");
}

TEST_F(LearningStoreTest, BadRecordsAreRefusedBeforeAnythingIsWritten) {
  const UserDatabase database = open();
  const LearningState state = load(database);
  const std::string before = test::file_bytes(user_);
  const std::string nul("a\0b", 3);
  const double infinity = std::numeric_limits<double>::infinity();
  const std::pair<LearningChange, const char*> cases[] = {
      {change::PhraseUpsert{{"", "x", 0, 0}}, "phrase query must be nonempty and contain no NUL"},
      {change::PhraseInsertIfAbsent{{"a", nul, 0, 0}}, "phrase text must be nonempty and contain no NUL"},
      {change::PhraseUpsert{{"a", "x", 0, infinity}}, "phrase scores must be finite"},
      {change::PhraseDelete{"a", ""}, "phrase text must be nonempty and contain no NUL"},
      {change::OverrideSet{"", "x"}, "override query must be nonempty and contain no NUL"},
      {change::OverrideSet{"a", ""}, "override text must be nonempty and contain no NUL"},
      {change::BigramSet{{"q", "p", "", 0}}, "bigram current must be nonempty and contain no NUL"},
      {change::BigramSet{{"q", nul, "c", 0}}, "bigram previous must be nonempty and contain no NUL"},
      {change::BigramSet{{"q", "", "c", std::numeric_limits<double>::quiet_NaN()}}, "bigram score must be finite"},
      {change::TableCountIncrement{"smart", "a", "b"}, "invalid table learning method"},
      {change::TableCountIncrement{"cangjie", "", "b"}, "table query must be nonempty and contain no NUL"},
      {change::TableCountSet{"simplex", "a", "b", 0}, "table frequency must be positive"},
      {change::ResetTableMethod{"Cangjie"}, "invalid table learning method"},
  };
  for (const auto& [bad, message] : cases) {
    // A valid change first shows that the list is refused as a whole.
    const Changes changes = {change::OverrideSet{"k", "v"}, bad};
    const model::ModelError expected{ModelErrorKind::InvalidInput, message};
    auto applied = apply_learning_changes(state, changes);
    ASSERT_FALSE(applied.has_value()) << message;
    EXPECT_EQ(applied.error(), expected);
    auto written = write_learning_changes(database.connection(), state.generation, changes);
    ASSERT_FALSE(written.has_value()) << message;
    EXPECT_EQ(written.error(), expected);
  }
  auto negative = write_learning_changes(database.connection(), -1, {});
  ASSERT_FALSE(negative.has_value());
  EXPECT_EQ(negative.error().message(), "invalid input: negative learning generation");
  EXPECT_EQ(test::file_bytes(user_), before);
}

TEST_F(LearningStoreTest, StoredRowsMustHoldTheirStorageClassAndPassTheChecks) {
  const std::pair<const char*, const char*> cases[] = {
      {"INSERT INTO user_unigrams VALUES('ab','x','x',0)",
       "invalid model data: user probability must be numeric"},
      {"INSERT INTO user_unigrams VALUES('ab','x',-1,1e999)",
       "invalid model data: user probability must be finite"},
      {"INSERT INTO user_unigrams VALUES(X'6162','x',-1,0)",
       "invalid model data: user text must be SQLite TEXT"},
      {"INSERT INTO user_candidate_override_cache VALUES('k',CAST(X'C0AF' AS TEXT))",
       "invalid model data: user text is not valid UTF-8"},
      {"INSERT INTO user_bigram_cache VALUES('q',X'00','c',0)",
       "invalid model data: user text must be SQLite TEXT"},
      {"INSERT INTO table_learning VALUES('cangjie','a','b',1.5)",
       "invalid model data: user frequency must be SQLite INTEGER"},
      {"INSERT INTO table_learning VALUES('smart','a','b',1)",
       "invalid input: invalid table learning method"},
      {"INSERT INTO user_unigrams VALUES('','x',-1,0)",
       "invalid input: phrase query must be nonempty and contain no NUL"},
      {"INSERT INTO user_bigram_cache VALUES('q','','',0)",
       "invalid input: bigram current must be nonempty and contain no NUL"},
      {"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<201) "
       "INSERT INTO user_candidate_override_cache SELECT 'k'||i,'v' FROM n",
       "invalid model data: user learning cache exceeds capacity"},
  };
  for (const auto& [insert, message] : cases) {
    auto database = open_memory_user_database();
    ASSERT_TRUE(database.has_value());
    ASSERT_EQ(database->connection().exec(insert), SQLITE_OK) << database->connection().error_text();
    auto state = load_learning(database->connection());
    ASSERT_FALSE(state.has_value()) << insert;
    EXPECT_EQ(state.error().message(), message) << insert;
  }
}

TEST_F(LearningStoreTest, StoredNumbersAreWidenedAndEmptyPreviousIsAccepted) {
  const UserDatabase database = open(
      "INSERT INTO user_unigrams VALUES('ab','x',-2,0);"
      "INSERT INTO user_bigram_cache VALUES('q','','c',-1);");
  const LearningState state = load(database);
  EXPECT_EQ(state.phrases, (std::vector<model::Unigram>{{"ab", "x", -2.0, 0.0}}));
  EXPECT_EQ(state.bigrams, (std::vector<model::Bigram>{{"q", "", "c", -1.0}}));
}

// Two connections on one file: a reset committed by one between the
// other's load and write.
TEST_F(LearningStoreTest, ACacheWriteAfterAnotherWritersResetWritesNothing) {
  const UserDatabase database = open("INSERT INTO user_candidate_override_cache VALUES('old','v');");
  const LearningState state = load(database);

  std::thread other([&] {
    auto second = open_user_database(user_.string(), model_.string());
    ASSERT_TRUE(second.has_value());
    const Changes reset = {change::ResetAllLearning{}};
    auto written = write_learning_changes(second->connection(), 0, reset);
    ASSERT_TRUE(written.has_value()) << written.error().message();
  });
  other.join();

  const Changes learn = {change::OverrideSet{"k", "v"}, change::TableCountIncrement{"cangjie", "a", "A"}};
  auto written = write_learning_changes(database.connection(), state.generation, learn);
  ASSERT_TRUE(written.has_value()) << written.error().message();
  EXPECT_EQ(written->status, WriteStatus::GenerationChanged);
  EXPECT_EQ(written->state.generation, 1);
  EXPECT_EQ(written->state.revision, 1);
  EXPECT_TRUE(written->state.overrides.empty());
  EXPECT_TRUE(written->state.table_counts.empty());
  EXPECT_EQ(load(database), written->state);

  // With the new generation the same changes are written.
  written = write_learning_changes(database.connection(), written->state.generation, learn);
  ASSERT_TRUE(written.has_value());
  EXPECT_EQ(written->status, WriteStatus::Applied);
  EXPECT_EQ(written->state.overrides, (std::vector<CandidateOverride>{{"k", "v"}}));
}

TEST_F(LearningStoreTest, AResetFromAnotherProcessIsNoticed) {
  const UserDatabase database = open();
  const LearningState state = load(database);

  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    auto second = open_user_database(user_.string(), model_.string());
    const Changes reset = {change::ResetSmartLearning{}};
    const bool ok = second && write_learning_changes(second->connection(), 0, reset).has_value();
    ::_exit(ok ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

  const Changes learn = {change::BigramSet{{"q", "", "c", 0}}};
  auto written = write_learning_changes(database.connection(), state.generation, learn);
  ASSERT_TRUE(written.has_value()) << written.error().message();
  EXPECT_EQ(written->status, WriteStatus::GenerationChanged);
  EXPECT_EQ(written->state.generation, 1);
  EXPECT_TRUE(written->state.bigrams.empty());
}

// Holds the write lock of `path` on its own connection until released.
class WriteLockHolder {
 public:
  explicit WriteLockHolder(const fs::path& path) {
    std::string error;
    connection_ = model::Connection::open(path.string(), SQLITE_OPEN_READWRITE, error);
    EXPECT_EQ(connection_.exec("BEGIN IMMEDIATE"), SQLITE_OK) << connection_.error_text();
  }
  void release() { EXPECT_EQ(connection_.exec("COMMIT"), SQLITE_OK); }

 private:
  model::Connection connection_;
};

void expect_busy(const UserDatabase& database, const LearningState& state) {
  const Changes learn = {change::PhraseUpsert{{"ab", "x", -1, 0}}};
  auto written = write_learning_changes(database.connection(), state.generation, learn);
  ASSERT_FALSE(written.has_value());
  EXPECT_EQ(written.error().kind, ModelErrorKind::QueryFailed);
  EXPECT_EQ(written.error().detail, "database is locked");
}

TEST_F(LearningStoreTest, AWriterWaitsBoundedlyForTheLockHeldByAnotherThread) {
  const UserDatabase database = open();
  const LearningState state = load(database);
  std::optional<WriteLockHolder> holder;
  std::thread([&] { holder.emplace(user_); }).join();
  expect_busy(database, state);
  holder->release();
  const Changes learn = {change::PhraseUpsert{{"ab", "x", -1, 0}}};
  auto written = write_learning_changes(database.connection(), state.generation, learn);
  ASSERT_TRUE(written.has_value()) << written.error().message();
  EXPECT_EQ(written->state.phrases.size(), 1u);
}

TEST_F(LearningStoreTest, AWriterWaitsBoundedlyForTheLockHeldByAnotherProcess) {
  const UserDatabase database = open();
  const LearningState state = load(database);
  int locked[2];
  int done[2];
  ASSERT_EQ(::pipe(locked), 0);
  ASSERT_EQ(::pipe(done), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::string error;
    auto connection = model::Connection::open(user_.string(), SQLITE_OPEN_READWRITE, error);
    const char ready = connection && connection.exec("BEGIN IMMEDIATE") == SQLITE_OK ? 'y' : 'n';
    char unused = 0;
    const bool ok = ::write(locked[1], &ready, 1) == 1 && ::read(done[0], &unused, 1) == 1 &&
                    connection.exec("COMMIT") == SQLITE_OK;
    ::_exit(ok ? 0 : 1);
  }
  char ready = 0;
  ASSERT_EQ(::read(locked[0], &ready, 1), 1);
  ASSERT_EQ(ready, 'y');
  expect_busy(database, state);
  ASSERT_EQ(::write(done[1], "x", 1), 1);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  for (const int descriptor : {locked[0], locked[1], done[0], done[1]}) ::close(descriptor);
  EXPECT_EQ(load(database), state);
}

}  // namespace
}  // namespace ferrolune::userdata
