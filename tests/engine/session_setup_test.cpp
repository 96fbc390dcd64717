#include "engine/session_setup.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/sqlite_fixture.h"
#include "support/temp_dir.h"

namespace ferrolune::engine {
namespace {

namespace fs = std::filesystem;

class SessionSetupTest : public ::testing::Test {
 protected:
  SessionSetupTest() { test::write_sqlite(model_, test::kMinimalModelSchema); }

  test::TempDir dir_;
  fs::path model_ = dir_.file("ZezAri.db");
  fs::path user_ = dir_.file("user.db");
};

TEST_F(SessionSetupTest, WithoutAUserDatabaseLearningStaysInMemory) {
  auto resources = open_session_resources(model_.string(), SessionConfig{});
  ASSERT_TRUE(resources.has_value()) << resources.error().message();
  EXPECT_TRUE(resources->user.in_memory());
  ASSERT_NE(resources->learning, nullptr);
  EXPECT_EQ(*resources->learning, userdata::LearningState{});
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path()), {}), 1);
}

TEST_F(SessionSetupTest, AConfiguredUserDatabaseIsCreatedAndLoaded) {
  SessionConfig config;
  config.user_database = user_.string();
  auto resources = open_session_resources(model_.string(), config);
  ASSERT_TRUE(resources.has_value()) << resources.error().message();
  EXPECT_FALSE(resources->user.in_memory());
  EXPECT_EQ(resources->config, config);
  EXPECT_TRUE(fs::is_regular_file(user_));
}

TEST_F(SessionSetupTest, FailuresComeInOrderAndLeaveNoUserDatabaseBehind) {
  struct Case {
    const char* name;
    fs::path model;
    std::optional<std::uint32_t> limit;
    std::optional<fs::path> user;
    const char* message;
  };
  const Case cases[] = {
      {"validation before opening", model_, 9u, user_,
       "smart composition limit must be within 10..20 completed readings"},
      {"model before user database", dir_.file("missing.db"), std::nullopt, user_,
       "could not open model: No such file or directory"},
      {"user database is the model", model_, std::nullopt, model_,
       "invalid input: user database must differ from shared model"},
      {"user database is a directory", model_, std::nullopt, dir_.path(),
       "invalid input: user database must be a regular file"},
  };
  for (const auto& test : cases) {
    SessionConfig config;
    if (test.limit) config.smart.max_completed_syllables = *test.limit;
    if (test.user) config.user_database = test.user->string();
    auto resources = open_session_resources(test.model.string(), config);
    ASSERT_FALSE(resources.has_value()) << test.name;
    EXPECT_EQ(resources.error().message(), test.message) << test.name;
    EXPECT_FALSE(fs::exists(user_)) << test.name;
  }
}

}  // namespace
}  // namespace ferrolune::engine
