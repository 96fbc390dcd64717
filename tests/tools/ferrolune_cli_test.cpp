// The ferrolune tool on a model compiled from the fixture sources: its
// stand-alone requests, the key syntax of `type`, and its errors.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compiler_fixture.h"
#include "support/temp_dir.h"

namespace ferrolune {
namespace {

class FerroluneCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::write_fixture_sources(dir_.path());
    const auto compiled = test::compile_sources(dir_.path(), model_);
    ASSERT_EQ(compiled.status, 0) << compiled.output;
  }
  test::ToolRun cli(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"--model", model_.string()});
    return test::run_tool(FERROLUNE_CLI, arguments);
  }

  test::TempDir dir_;
  std::filesystem::path model_ = dir_.file("ZezAri.db");
};

TEST_F(FerroluneCliTest, AnswersStandAloneRequests) {
  struct Case {
    std::vector<std::string> arguments;
    std::string output;
  };
  const Case cases[] = {
      {{"codec", "encode", "ㄅㄧㄠˊ,ㄇㄚ˙"}, "qstring: fGZo\nreading: ㄅㄧㄠˊ,ㄇㄚ˙\nsyllables: 2\n"},
      {{"codec", "decode", "fGZo"}, "qstring: fGZo\nreading: ㄅㄧㄠˊ,ㄇㄚ˙\nsyllables: 2\n"},
      {{"query", "traditional", "--reading", "ㄨㄛˇ"}, "我\n婐\n"},
      {{"query", "cangjie", "hqi"}, "我\n牫\n"},
      {{"query", "simplex", "hi"}, "的\n我\n牫\n"},
      {{"query", "unigrams", "*"}, "\t-9\t0\n"},
      {{"query", "bigrams", "x"}, ""},
      {{"associated", "今"}, "天\n天氣\n"},
      {{"associated", "--collections"}, "essay\t常用詞語\t0\n"},
      {{"codec", "--json", "decode", "fG"},
       "{\"schema_version\":1,\"kind\":\"reading_codec\",\"qstring\":\"fG\",\"reading\":\"ㄅㄧㄠˊ\","
       "\"syllable_count\":1}\n"},
  };
  for (const auto& request : cases) {
    const auto run = cli(request.arguments);
    EXPECT_EQ(run.status, 0) << request.arguments.front() << ": " << run.output;
    EXPECT_EQ(run.output, request.output) << request.arguments.front();
  }
}

TEST_F(FerroluneCliTest, TypesBopomofoAndPrintsTheCommit) {
  // ㄨㄛˇ on the standard layout, then the first candidate of its list.
  const auto run = cli({"type", "--method", "traditional", "--layout", "standard", "ji31"});
  if (run.output.find("not available in this build") != std::string::npos) GTEST_SKIP() << run.output;
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(run.output, "committed: 我\npreedit: \ncandidates: \n");
}

TEST_F(FerroluneCliTest, ReportsErrorsWithTheEngineMessage) {
  struct Case {
    std::vector<std::string> arguments;
    int status;
    std::string message;
  };
  const Case cases[] = {
      {{"--model", "/nonexistent/ZezAri.db", "query", "cangjie", "a"}, 1, "ferrolune: could not open model: "},
      {{"codec", "decode", "1?2"}, 1, "ferrolune: phonetic query has an incomplete two-byte key\n"},
      {{"type", "ab{nokey}"}, 1, "ferrolune: unknown key name \"nokey\"\n"},
      {{"type", "{shift+x"}, 1, "ferrolune: unclosed { in the keys\n"},
      {{"type", "{meta+x}"}, 1, "ferrolune: unknown modifier \"meta\"\n"},
      {{"frobnicate"}, 2, "ferrolune: unknown command frobnicate\n"},
      {{"query", "--bogus"}, 2, "ferrolune: unknown option --bogus\n"},
  };
  for (const auto& request : cases) {
    const auto run = cli(request.arguments);
    EXPECT_EQ(run.status, request.status) << request.message << run.output;
    EXPECT_TRUE(run.output.starts_with(request.message)) << run.output;
  }
}

}  // namespace
}  // namespace ferrolune
