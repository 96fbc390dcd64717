// Small dictionary files in the formats of the open sources, and a run
// of the model compiler on them, for the tool tests.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

#include "run_tool.h"

namespace ferrolune::test {

inline constexpr const char* kPinyin = R"(# a small Pinyin dictionary
---
name: fixture
version: "1.0"
...

婐	wo3
我	wo3
的	de5	90%
的	di4	10%
一	yi1	98%
一	yi2	1%
一	yi4	1%
個	ge4
兒	er2	95%
兒	r5	5%
今	jin1
天	tian1
氣	qi4
㐀	wo9
#以下爲詞組
一個	yi2 ge4
今天	jin1 tian1
氣天	qi4 tian1
)";

inline constexpr const char* kFrequency =
    "我\t1000\n的\t5000\n婐\t1\n一\t800\n個\t300\n今天\t200\n天氣\t50\n一個\t400\n今天氣\t3\n";

inline constexpr const char* kCangjie = R"(# a small Cangjie table
---
name: fixture
version: "0.1"
...

牫	hqi
我	hqi
的	hapi
我	z
)";

inline constexpr double kTotal = 1000 + 5000 + 1 + 800 + 300 + 200 + 50 + 400 + 3;

inline void write_file(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// Writes the three fixture sources into `dir`.
inline void write_fixture_sources(const std::filesystem::path& dir) {
  write_file(dir / "pinyin.yaml", kPinyin);
  write_file(dir / "essay.txt", kFrequency);
  write_file(dir / "cangjie.yaml", kCangjie);
}

// Compiles the sources in `dir` (as they are) with the repository's data
// files, or those of `data`, into `output`.
inline ToolRun compile_sources(const std::filesystem::path& dir, const std::filesystem::path& output,
                               const std::filesystem::path& data = FERROLUNE_DATA_DIR) {
  return run_tool(FERROLUNE_MODEL_COMPILER,
                  {"--output", output.string(), "--pinyin", (dir / "pinyin.yaml").string(), "--frequency",
                   (dir / "essay.txt").string(), "--cangjie", (dir / "cangjie.yaml").string(), "--data",
                   data.string()});
}

}  // namespace ferrolune::test
