// Stand-alone model handles seen from outside: opening, its failures with
// their statuses and messages, closing, and use from several threads,
// through ferrolune.h and libferrolune.so alone.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "capi_support.h"
#include "ferrolune.h"
#include "support/sqlite_fixture.h"
#include "support/temp_dir.h"

namespace ferrolune::capi {
namespace {

using test::kMinimalModelSchema;
using test::TempDir;
using test::write_sqlite;

ferrolune_database* const kGarbage = reinterpret_cast<ferrolune_database*>(1);

int32_t open_path(const std::string& path, ferrolune_database** out) {
  return ferrolune_database_open(path.data(), path.size(), out);
}

class DatabaseHandle : public ::testing::Test {
 protected:
  void SetUp() override {
    model_ = dir_.file("model.db").string();
    write_sqlite(model_, kMinimalModelSchema);
  }

  TempDir dir_;
  std::string model_;
};

TEST_F(DatabaseHandle, OpensAndClosesAValidModel) {
  ferrolune_database* database = kGarbage;
  ASSERT_EQ(open_path(model_, &database), FERROLUNE_OK) << last_error_text();
  EXPECT_NE(database, nullptr);
  EXPECT_EQ(last_error_text(), "");
  ASSERT_EQ(ferrolune_database_close(&database), FERROLUNE_OK);
  EXPECT_EQ(database, nullptr);
  EXPECT_EQ(last_error_text(), "");
}

TEST_F(DatabaseHandle, FailedOpensLeaveTheOutputNullWithStatusAndMessage) {
  const std::string view_model = dir_.file("view.db").string();
  write_sqlite(view_model,
               "CREATE TABLE unigrams (qstring, current, probability, backoff);"
               "CREATE VIEW bigrams AS SELECT qstring, current AS previous, current, probability "
               "FROM unigrams;");
  const std::string missing_column = dir_.file("column.db").string();
  write_sqlite(missing_column, "CREATE TABLE unigrams (qstring, current, probability);");
  const std::string with_nul = model_ + std::string(1, '\0');
  struct Case {
    const char* data;
    uint64_t length;
    int32_t status;
    std::string message;
  };
  const std::string missing = dir_.file("absent.db").string();
  const std::string directory = dir_.path().string();
  const Case cases[] = {
      {nullptr, 0, FERROLUNE_INVALID_ARGUMENT, "database path is empty"},
      {"", 0, FERROLUNE_INVALID_ARGUMENT, "database path is empty"},
      {nullptr, 4, FERROLUNE_INVALID_ARGUMENT, "database path pointer is null"},
      {"/tmp/\xff.db", 9, FERROLUNE_INVALID_UTF8, "database path is not valid UTF-8"},
      {with_nul.data(), with_nul.size(), FERROLUNE_INVALID_ARGUMENT,
       "database path contains an embedded NUL"},
      {missing.data(), missing.size(), FERROLUNE_STORAGE_ERROR,
       "could not open model: No such file or directory"},
      {directory.data(), directory.size(), FERROLUNE_INVALID_ARGUMENT,
       "invalid input: database path must name an existing regular file"},
      {view_model.data(), view_model.size(), FERROLUNE_DATA_ERROR,
       "invalid model schema: required table bigrams is missing or is not a table"},
      {missing_column.data(), missing_column.size(), FERROLUNE_DATA_ERROR,
       "invalid model schema: unigrams: no such column: backoff"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    ferrolune_database* database = kGarbage;
    EXPECT_EQ(ferrolune_database_open(c.data, c.length, &database), c.status);
    EXPECT_EQ(database, nullptr);
    EXPECT_EQ(last_error_text(), c.message);
  }
}

TEST_F(DatabaseHandle, NullOutputPointerIsRefusedBeforeThePath) {
  EXPECT_EQ(ferrolune_database_open(nullptr, 0, nullptr), FERROLUNE_INVALID_ARGUMENT);
  EXPECT_EQ(last_error_text(), "database output pointer is null");
  EXPECT_EQ(open_path(model_, nullptr), FERROLUNE_INVALID_ARGUMENT);
  EXPECT_EQ(last_error_text(), "database output pointer is null");
}

TEST_F(DatabaseHandle, CloseChecksOnlyTheSlot) {
  EXPECT_EQ(ferrolune_database_close(nullptr), FERROLUNE_INVALID_ARGUMENT);
  EXPECT_EQ(last_error_text(), "database handle slot is null");
  ferrolune_database* empty = nullptr;
  EXPECT_EQ(ferrolune_database_close(&empty), FERROLUNE_OK);
  EXPECT_EQ(empty, nullptr);
  EXPECT_EQ(last_error_text(), "");
}

// Requests on different handles run in parallel, and each thread keeps its
// own last error while the others fail and succeed around it.
TEST_F(DatabaseHandle, ThreadsOpenAndCloseTheirOwnHandlesAtOnce) {
  const std::string directory = dir_.path().string();
  constexpr int kThreads = 4;
  constexpr int kRounds = 40;
  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < kRounds; ++round) {
        ferrolune_database* database = nullptr;
        if (open_path(model_, &database) != FERROLUNE_OK || !database) ++failures;
        // Keep the handle open across a failed call on this thread.
        if ((t + round) % 2 == 0) {
          ferrolune_database* refused = nullptr;
          if (open_path(directory, &refused) != FERROLUNE_INVALID_ARGUMENT) ++failures;
          std::this_thread::yield();
          if (last_error_text() !=
              "invalid input: database path must name an existing regular file") {
            ++failures;
          }
        }
        if (ferrolune_database_close(&database) != FERROLUNE_OK || database) ++failures;
        if (!last_error_text().empty()) ++failures;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(failures.load(), 0);
}

// Requests on one handle are serialised by its lock; requests on two
// handles run side by side. Every answer must be the same complete rows.
TEST_F(DatabaseHandle, QueriesFromTwoThreadsOnOneAndOnTwoHandles) {
  const std::string rows_model = dir_.file("rows.db").string();
  write_sqlite(rows_model, std::string(kMinimalModelSchema) +
                               "INSERT INTO unigrams VALUES ('ab', 'x', -1.5, -0.5);"
                               "INSERT INTO unigrams VALUES ('ab', 'y', -2, 0);"
                               "INSERT INTO unigrams VALUES ('cd', 'z', -3, 0);"
                               "INSERT INTO unigrams VALUES ('ab', 'w', -4.25, -1);");
  ferrolune_database* shared = nullptr;
  ferrolune_database* second = nullptr;
  ASSERT_EQ(open_path(rows_model, &shared), FERROLUNE_OK) << last_error_text();
  ASSERT_EQ(open_path(rows_model, &second), FERROLUNE_OK) << last_error_text();

  const auto answer = [](ferrolune_database* database, std::string& text, uint64_t& rows) {
    ferrolune_result* result = nullptr;
    if (ferrolune_model_query(database, FERROLUNE_QUERY_UNIGRAMS, "ab", 2, &result) != FERROLUNE_OK) {
      return false;
    }
    text = result_text(result);
    const bool counted = ferrolune_result_row_count(result, &rows) == FERROLUNE_OK;
    return ferrolune_result_free(&result) == FERROLUNE_OK && counted;
  };
  std::string expected;
  uint64_t expected_rows = 0;
  ASSERT_TRUE(answer(shared, expected, expected_rows)) << last_error_text();
  EXPECT_EQ(expected_rows, 3u);

  const auto hammer = [&](ferrolune_database* database, std::atomic<int>& wrong) {
    for (int round = 0; round < 200; ++round) {
      std::string text;
      uint64_t rows = 0;
      if (!answer(database, text, rows) || text != expected || rows != expected_rows) ++wrong;
    }
  };
  for (ferrolune_database* other : {shared, second}) {
    std::atomic<int> wrong{0};
    std::thread first(hammer, shared, std::ref(wrong));
    std::thread next(hammer, other, std::ref(wrong));
    first.join();
    next.join();
    EXPECT_EQ(wrong.load(), 0) << (other == shared ? "one handle" : "two handles");
  }
  EXPECT_EQ(ferrolune_database_close(&shared), FERROLUNE_OK);
  EXPECT_EQ(ferrolune_database_close(&second), FERROLUNE_OK);
}

}  // namespace
}  // namespace ferrolune::capi
