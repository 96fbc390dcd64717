// The call frame seen from outside: text arguments, the output protocol and
// the per-thread last error, through ferrolune.h and libferrolune.so alone.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <thread>

#include "capi_support.h"
#include "ferrolune.h"

extern "C" int ferrolune_c_header_smoke(void);

namespace ferrolune::capi {
namespace {

constexpr uint64_t kMaxSigned = std::numeric_limits<int64_t>::max();

TEST(CallFrame, HeaderIsPlainC) { EXPECT_TRUE(ferrolune_c_header_smoke()); }

TEST(CallFrame, TextArgumentsAreCheckedByName) {
  struct Case {
    const char* data;
    uint64_t length;
    int32_t status;
    const char* message;
  };
  const Case cases[] = {
      {"{}", kMaxSigned + 1, FERROLUNE_INVALID_ARGUMENT, "reading codec request is too long"},
      {nullptr, 2, FERROLUNE_INVALID_ARGUMENT, "reading codec request pointer is null"},
      {"{\xc3}", 3, FERROLUNE_INVALID_UTF8, "reading codec request is not valid UTF-8"},
      {"{\0}", 3, FERROLUNE_INVALID_ARGUMENT, "reading codec request contains an embedded NUL"},
  };
  for (const Case& c : cases) {
    ferrolune_result* result = reinterpret_cast<ferrolune_result*>(1);
    EXPECT_EQ(ferrolune_reading_codec(c.data, c.length, &result), c.status) << c.message;
    EXPECT_EQ(result, nullptr);
    EXPECT_EQ(last_error_text(), c.message);
  }
  EXPECT_EQ(ferrolune_reading_codec("{}", 2, nullptr), FERROLUNE_INVALID_ARGUMENT);
  EXPECT_EQ(last_error_text(), "result output pointer is null");
}

TEST(CallFrame, LastErrorFollowsTheOutputProtocolAndIsNeverChangedByReading) {
  ferrolune_result* result = nullptr;
  ASSERT_NE(ferrolune_reading_codec(nullptr, 2, &result), FERROLUNE_OK);
  const std::string message = "reading codec request pointer is null";

  uint64_t required = 0;
  EXPECT_EQ(ferrolune_last_error(nullptr, 0, &required), FERROLUNE_BUFFER_TOO_SMALL);
  EXPECT_EQ(required, message.size() + 1);

  std::string buffer(message.size(), 'x');
  EXPECT_EQ(ferrolune_last_error(buffer.data(), buffer.size(), &required), FERROLUNE_BUFFER_TOO_SMALL);
  EXPECT_EQ(buffer, std::string(message.size(), 'x'));  // one byte short: untouched

  // Failures of the reader itself are not recorded.
  EXPECT_EQ(ferrolune_last_error(nullptr, 4, &required), FERROLUNE_INVALID_ARGUMENT);
  EXPECT_EQ(ferrolune_last_error(buffer.data(), 1, nullptr), FERROLUNE_INVALID_ARGUMENT);
  EXPECT_EQ(last_error_text(), message);
}

TEST(CallFrame, SuccessClearsTheLastError) {
  ferrolune_result* result = nullptr;
  ASSERT_NE(ferrolune_reading_codec(nullptr, 2, &result), FERROLUNE_OK);
  ASSERT_EQ(ferrolune_result_free(&result), FERROLUNE_OK);
  char lone[1] = {'x'};
  uint64_t required = 0;
  EXPECT_EQ(ferrolune_last_error(lone, 1, &required), FERROLUNE_OK);
  EXPECT_EQ(lone[0], '\0');
  EXPECT_EQ(required, 1u);
}

TEST(CallFrame, LastErrorIsPerThread) {
  ferrolune_result* result = nullptr;
  ASSERT_NE(ferrolune_reading_codec(nullptr, 2, &result), FERROLUNE_OK);
  std::string other;
  std::thread([&] {
    other = last_error_text();
    ferrolune_validate_user_archive(nullptr, 1);
  }).join();
  EXPECT_EQ(other, "");
  EXPECT_EQ(last_error_text(), "reading codec request pointer is null");
}

TEST(CallFrame, ResultAndHandleSlots) {
  uint64_t rows = 7;
  EXPECT_EQ(ferrolune_result_row_count(nullptr, &rows), FERROLUNE_INVALID_ARGUMENT);
  EXPECT_EQ(rows, 0u);
  EXPECT_EQ(last_error_text(), "result handle is null");
  EXPECT_EQ(ferrolune_result_row_count(nullptr, nullptr), FERROLUNE_INVALID_ARGUMENT);
  EXPECT_EQ(last_error_text(), "row-count output pointer is null");

  uint64_t required = 0;
  EXPECT_EQ(ferrolune_result_read(nullptr, nullptr, 0, &required), FERROLUNE_INVALID_ARGUMENT);
  EXPECT_EQ(last_error_text(), "result handle is null");

  EXPECT_EQ(ferrolune_result_free(nullptr), FERROLUNE_INVALID_ARGUMENT);
  EXPECT_EQ(last_error_text(), "result handle slot is null");
  EXPECT_EQ(ferrolune_session_free(nullptr), FERROLUNE_INVALID_ARGUMENT);
  EXPECT_EQ(last_error_text(), "session handle slot is null");
  ferrolune_session* session = nullptr;
  EXPECT_EQ(ferrolune_session_free(&session), FERROLUNE_OK);
}

}  // namespace
}  // namespace ferrolune::capi
