// Sessions used from several threads at once: requests on one session are
// serialised by its lock, requests on different sessions run side by side,
// and each thread keeps its own last error.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "capi_support.h"
#include "ferrolune.h"
#include "support/sqlite_fixture.h"
#include "support/temp_dir.h"

namespace ferrolune::capi {
namespace {

constexpr int kRounds = 200;

// Toggles English mode and sends a refused operation, over and over: every
// toggle must succeed, and every refusal must report its own message on
// the calling thread.
void hammer(ferrolune_session* session, std::atomic<int>& failures) {
  const std::string toggle = R"({"type":"toggle_english"})";
  const std::string bad = R"({"type":"select","index":99})";
  for (int i = 0; i < kRounds; ++i) {
    ferrolune_result* result = nullptr;
    if (ferrolune_session_input(session, toggle.data(), toggle.size(), &result) != FERROLUNE_OK) ++failures;
    ferrolune_result_free(&result);
    if (ferrolune_session_input(session, bad.data(), bad.size(), &result) != FERROLUNE_INVALID_ARGUMENT ||
        last_error_text() != "candidate index is not page-local") {
      ++failures;
    }
  }
}

TEST(SessionThreads, OneSessionFromTwoThreadsAndTwoSessionsAtOnce) {
  test::TempDir dir;
  const std::string model = dir.file("model.db").string();
  test::write_sqlite(model, test::kMinimalModelSchema);

  ferrolune_session* shared = nullptr;
  ferrolune_session* other = nullptr;
  ASSERT_EQ(ferrolune_session_new(model.data(), model.size(), nullptr, 0, &shared), FERROLUNE_OK);
  ASSERT_EQ(ferrolune_session_new(model.data(), model.size(), nullptr, 0, &other), FERROLUNE_OK);

  std::atomic<int> failures = 0;
  std::vector<std::thread> threads;
  threads.emplace_back(hammer, shared, std::ref(failures));
  threads.emplace_back(hammer, shared, std::ref(failures));
  threads.emplace_back(hammer, other, std::ref(failures));
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(failures.load(), 0);

  // Every toggle was applied exactly once: an even number leaves it off.
  ferrolune_result* result = nullptr;
  ASSERT_EQ(ferrolune_session_snapshot(shared, &result), FERROLUNE_OK);
  EXPECT_NE(result_text(result).find(R"("english":false)"), std::string::npos);
  ferrolune_result_free(&result);

  EXPECT_EQ(ferrolune_session_free(&shared), FERROLUNE_OK);
  EXPECT_EQ(ferrolune_session_free(&other), FERROLUNE_OK);
  EXPECT_EQ(shared, nullptr);
}

}  // namespace
}  // namespace ferrolune::capi
