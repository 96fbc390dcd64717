#include "engine_request.h"

#include <gtest/gtest.h>
#include <glib.h>

#include <cstdio>
#include <string>

#include "recording_host.h"

namespace ferrolune::frontend {
namespace {

using test::RecordingHost;

json_object* parse(const char* text) { return json_tokener_parse(text); }

TEST(EngineAnswer, KeepsWhatTheWindowNeeds) {
  RecordingHost host;
  HostServices services(host.table());
  FrontEndState state;

  json_object* answer = parse(R"({"visible_text":"把","cursor":1,"page":1,"page_count":2,"highlight":3,
      "displayed_candidates":["霸","罷"],"candidates":["x"],
      "effects":{"commit":"","handled":true,"beep":true,"send_return":false}})");
  apply_answer(state, services, answer);
  json_object_put(answer);
  EXPECT_STREQ(state.visible_text, "把");
  EXPECT_EQ(state.cursor, 1);
  EXPECT_EQ(state.page, 1);
  EXPECT_EQ(state.page_count, 2);
  EXPECT_EQ(state.highlight, 3);
  ASSERT_NE(state.displayed_candidates, nullptr);
  EXPECT_EQ(json_object_array_length(state.displayed_candidates), 2u);
  EXPECT_EQ(state.handled, 1);
  EXPECT_EQ(state.send_return, 0);
  EXPECT_EQ(key_consumed(state), 1);
  EXPECT_TRUE(is_composing(state));
  EXPECT_TRUE(host.commits.empty());

  answer = parse(R"({"visible_text":"","highlight":null,"displayed_candidates":[],
      "effects":{"commit":"把","handled":true,"send_return":true}})");
  apply_answer(state, services, answer);
  json_object_put(answer);
  EXPECT_STREQ(state.visible_text, "");
  EXPECT_EQ(state.cursor, 0);
  EXPECT_EQ(state.page_count, 0);
  EXPECT_EQ(state.highlight, -1);
  EXPECT_EQ(state.displayed_candidates, nullptr);
  EXPECT_EQ(state.send_return, 1);
  EXPECT_EQ(key_consumed(state), 0) << "a Return to deliver goes to the application";
  EXPECT_FALSE(is_composing(state));
  ASSERT_EQ(host.commits.size(), 1u);
  EXPECT_EQ(host.commits[0], "把");

  // Candidates alone count as composing.
  answer = parse(R"({"displayed_candidates":["，"],"effects":{}})");
  apply_answer(state, services, answer);
  json_object_put(answer);
  EXPECT_TRUE(is_composing(state));
  EXPECT_EQ(state.handled, 0);
  EXPECT_EQ(key_consumed(state), 0);
}

TEST(EngineRequest, WithoutSessionNothingIsSent) {
  RecordingHost host;
  HostServices services(host.table());
  FrontEndState state;
  state.handled = 1;
  state.send_return = 1;
  send_reset(state, services);
  EXPECT_EQ(state.handled, 0);
  EXPECT_EQ(state.send_return, 0);
  EXPECT_EQ(state.visible_text, nullptr);
}

TEST(EngineRequest, FailureLineAndLastError) {
  std::FILE* out = std::tmpfile();
  ASSERT_NE(out, nullptr);
  write_request_failure(out, R"({"type":"reset"})", "input sessions are 100% busy");
  std::rewind(out);
  char line[256] = {};
  ASSERT_NE(std::fgets(line, sizeof line, out), nullptr);
  std::fclose(out);
  EXPECT_STREQ(line, "tovu: ferrolune: {\"type\":\"reset\"}: input sessions are 100% busy\n");

  EXPECT_EQ(ferrolune_session_free(nullptr), FERROLUNE_INVALID_ARGUMENT);
  EXPECT_EQ(engine_last_error(), "session handle slot is null");
  ferrolune_session* none = nullptr;
  EXPECT_EQ(ferrolune_session_free(&none), FERROLUNE_OK);
  EXPECT_EQ(engine_last_error(), "");
}

TEST(HostServicesTable, MissingMembersAreSafe) {
  HostServices empty;
  empty.win_shown();
  empty.report("nothing listens");
  empty.commit_string("把");
  empty.set_candidate(0, "把");
  EXPECT_EQ(empty.input_active(), 1);
  EXPECT_EQ(empty.no_window_mode(), 0);
  EXPECT_EQ(HostServices::value(empty.win_x()), 0);
  EXPECT_STREQ(empty.cursor_bg(), "blue");

  RecordingHost host;
  HostServices services(host.table());
  services.report("50% done");
  ASSERT_EQ(host.reports.size(), 1u);
  EXPECT_EQ(host.reports[0], "50% done");
  host.win_x = 7;
  EXPECT_EQ(HostServices::value(services.win_x()), 7);  // data members point into the host
}

}  // namespace
}  // namespace ferrolune::frontend
