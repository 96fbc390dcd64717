#include "ffi/frame.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>

namespace ferrolune::ffi {
namespace {

constexpr std::uint64_t kMaxSigned = std::numeric_limits<std::int64_t>::max();

TEST(DecodeTextArgument, ChecksInOrder) {
  struct Case {
    const char* data;
    std::uint64_t length;
    std::int32_t status;
    const char* message;
  };
  const Case cases[] = {
      {"abc", kMaxSigned + 1, FERROLUNE_INVALID_ARGUMENT, "key is too long"},
      {nullptr, 0, FERROLUNE_OK, ""},
      {nullptr, 3, FERROLUNE_INVALID_ARGUMENT, "key pointer is null"},
      {"a\xff", 2, FERROLUNE_INVALID_UTF8, "key is not valid UTF-8"},
      {"a\0b", 3, FERROLUNE_INVALID_ARGUMENT, "key contains an embedded NUL"},
      {"\xe6\x88\x91", 3, FERROLUNE_OK, ""},
  };
  for (const Case& c : cases) {
    const auto text = decode_text_argument(c.data, c.length, "key");
    if (c.status == FERROLUNE_OK) {
      ASSERT_TRUE(text.has_value()) << c.message;
      EXPECT_EQ(text->size(), c.length);
    } else {
      ASSERT_FALSE(text.has_value()) << c.message;
      EXPECT_EQ(text.error().status, c.status);
      EXPECT_EQ(text.error().message, c.message);
    }
  }
}

TEST(CopyOutText, FollowsTheTwoCallProtocol) {
  std::uint64_t required = 99;
  EXPECT_EQ(copy_out_text("hello", nullptr, 0, &required).error().status, FERROLUNE_BUFFER_TOO_SMALL);
  EXPECT_EQ(required, 6u);

  char buffer[6] = {'x', 'x', 'x', 'x', 'x', 'x'};
  const auto short_by_one = copy_out_text("hello", buffer, 5, &required);
  EXPECT_EQ(short_by_one.error().message, "output needs 6 bytes including the trailing NUL");
  EXPECT_EQ(std::string(buffer, 6), "xxxxxx");

  EXPECT_TRUE(copy_out_text("hello", buffer, 6, &required).has_value());
  EXPECT_STREQ(buffer, "hello");
}

TEST(CopyOutText, RefusesBadArguments) {
  std::uint64_t required = 99;
  char buffer[4];
  EXPECT_EQ(copy_out_text("x", buffer, 4, nullptr).error().message, "required-length pointer is null");
  EXPECT_EQ(copy_out_text("x", buffer, kMaxSigned + 1, &required).error().message,
            "output capacity is too large");
  EXPECT_EQ(required, 0u);
  EXPECT_EQ(copy_out_text("x", nullptr, 4, &required).error().message, "output pointer is null");
}

TEST(RunRequest, ContainsFaultsAndPoisonsTheLockedHandle) {
  HandleState state;
  const std::int32_t status = run_request([&]() -> Checked<void> {
    HandleLock lock(state);
    throw std::runtime_error("a bug");
  });
  EXPECT_EQ(status, FERROLUNE_INTERNAL_FAULT);
  EXPECT_EQ(last_error(), "Ferrolune caught an internal panic");
  EXPECT_TRUE(state.poisoned);

  HandleState clean;
  EXPECT_EQ(run_request([&]() -> Checked<void> {
              HandleLock lock(clean);
              return {};
            }),
            FERROLUNE_OK);
  EXPECT_FALSE(clean.poisoned);
  EXPECT_EQ(last_error(), "");
}

TEST(FailureOf, MapsModelErrorKindsToStatuses) {
  using model::ModelErrorKind;
  struct Case {
    ModelErrorKind kind;
    std::int32_t status;
    const char* message;
  };
  const Case cases[] = {
      {ModelErrorKind::InvalidInput, 1, "invalid input: d"},
      {ModelErrorKind::OpenFailed, 3, "could not open model: d"},
      {ModelErrorKind::InvalidSchema, 4, "invalid model schema: d"},
      {ModelErrorKind::QueryFailed, 3, "model query failed: d"},
      {ModelErrorKind::InvalidData, 4, "invalid model data: d"},
  };
  for (const Case& c : cases) {
    const Failure f = failure_of(Error(model::ModelError{c.kind, "d"}));
    EXPECT_EQ(f.status, c.status);
    EXPECT_EQ(f.message, c.message);
  }
  EXPECT_EQ(failure_of(Error(PlainError{"plain words"})).message, "plain words");
}

}  // namespace
}  // namespace ferrolune::ffi
