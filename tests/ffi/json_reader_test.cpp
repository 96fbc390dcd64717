#include "ffi/json/reader.h"

#include <gtest/gtest.h>

#include <string>

namespace ferrolune::ffi::json {
namespace {

struct Point {
  std::uint64_t x = 0;
  std::int32_t y = 0;
  bool flag = false;
};

constexpr std::string_view kFields[] = {"x", "y", "flag"};

// Reads {"x": index (required), "y": delta, "flag": bool}.
Point read_point(Reader& reader) {
  Point point;
  const FieldSet seen = reader.read_object("point", kFields, [&](std::size_t i) {
    if (i == 0) point.x = reader.read_index("x");
    else if (i == 1) point.y = reader.read_delta("y");
    else point.flag = reader.read_bool("flag");
  });
  reader.require(seen, 0b001, kFields);
  reader.finish();
  return point;
}

TEST(JsonReader, ReadsRecordsWithMembersInAnyOrder) {
  Reader reader(R"({"flag":true,"y":-2147483648,"x":18446744073709551615})");
  const Point point = read_point(reader);
  ASSERT_TRUE(reader.ok()) << reader.error();
  EXPECT_EQ(point.x, 18446744073709551615u);
  EXPECT_EQ(point.y, -2147483648);
  EXPECT_TRUE(point.flag);
}

TEST(JsonReader, RefusesWithANamedProblemAndPosition) {
  struct Case {
    const char* text;
    const char* error;
  };
  const Case cases[] = {
      {R"({"x":1,"z":2})", "unknown field `z`, expected one of `x`, `y`, `flag` at line 1 column 8"},
      {R"({"x":1,"x":2})", "duplicate field `x` at line 1 column 8"},
      {R"({"y":1})", "missing field `x` at line 1 column 7"},
      {"{\n  \"x\": -1\n}", "invalid type: integer `-1`, expected a non-negative integer for x at line 2 column 8"},
      {R"({"x":1.5})", "invalid type: floating point number, expected a non-negative integer for x at line 1 column 6"},
      {R"({"x":1,"y":2147483648})",
       "invalid value: integer `2147483648`, expected a signed 32-bit integer for y at line 1 column 12"},
      {R"({"x":1,"flag":"yes"})", "invalid type: string \"yes\", expected a boolean for flag at line 1 column 15"},
      {R"([1])", "invalid type: an array, expected an object for point at line 1 column 1"},
      {R"({"x":1} 2)", "syntax error: the document root must not be followed by other values at line 1 column 9"},
      {"", "syntax error: the document is empty at line 1 column 1"},
      {R"({"x":1,)", "syntax error: missing a name for object member at line 1 column 8"},
  };
  for (const Case& c : cases) {
    Reader reader(c.text);
    read_point(reader);
    EXPECT_FALSE(reader.ok()) << c.text;
    EXPECT_EQ(reader.error(), c.error) << c.text;
  }
}

TEST(JsonReader, EnumerationsAcceptAliasesAndNameTheValues) {
  constexpr Spelling kSpellings[] = {{"standard", 0}, {"Standard", 0}, {"hanyu_pinyin", 4}, {"pinyin", 4}};
  Reader alias(R"("pinyin")");
  EXPECT_EQ(alias.read_enum("layout", kSpellings), 4);
  EXPECT_TRUE(alias.ok());

  Reader wrong(R"("qwerty")");
  wrong.read_enum("layout", kSpellings);
  EXPECT_EQ(wrong.error(),
            "unknown variant `qwerty` for layout, expected one of `standard`, `hanyu_pinyin` at line 1 column 1");
}

TEST(JsonReader, NullMeansAbsentOnlyWhereTheCallerAsks) {
  Reader reader(R"([null,"a"])");
  std::string seen;
  reader.read_array("list", [&](std::size_t) {
    if (!reader.take_null()) seen += reader.read_string("item");
    else seen += "-";
  });
  reader.finish();
  EXPECT_TRUE(reader.ok()) << reader.error();
  EXPECT_EQ(seen, "-a");
}

TEST(JsonReader, SkipsDeeplyNestedValuesWithoutRecursion) {
  const std::string deep = std::string(100000, '[') + std::string(100000, ']');
  Reader reader(R"({"x":1,"junk":)" + deep + "}");
  static constexpr std::string_view kX[] = {"x"};
  reader.read_object("point", kX, [&](std::size_t) { reader.read_index("x"); }, /*ignore_unknown=*/true);
  reader.finish();
  EXPECT_TRUE(reader.ok()) << reader.error();
}

}  // namespace
}  // namespace ferrolune::ffi::json
