#include <gtest/gtest.h>

#include <string>

#include "label_markup.h"
#include "preedit.h"
#include "window_geometry.h"

namespace ferrolune::frontend {
namespace {

std::string caret(const char* inner) {
  return std::string(R"(<span background="bg" foreground="fg">)") + inner + "</span>";
}

TEST(LabelMarkup, CaretIsHighlightedAndTextEscaped) {
  struct Case {
    const char* text;
    int cursor;
    std::string markup;
  } cases[] = {
      {"把靶", 2, std::string("把靶") + caret(" ")},
      {"把靶", 0, caret("把") + "靶"},
      {"把靶", 1, std::string("把") + caret("靶")},
      {"把靶", 9, std::string("把靶") + caret(" ")},
      {"把靶", -3, caret("把") + "靶"},
      {"a<b&c", 1, std::string("a") + caret("&lt;") + "b&amp;c"},
      {"", 0, caret(" ")},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(build_label_markup(c.text, c.cursor, "bg", "fg"), c.markup) << c.text << " " << c.cursor;
  }
  EXPECT_EQ(build_label_markup("x", 1, "\"red", "fg"),
            R"(x<span background="&quot;red" foreground="fg"> </span>)");
}

TEST(Preedit, CopiesWholeCharactersAndClampsTheCursor) {
  char text[kPreeditCapacity];
  tovu_preedit_attribute attrs[1] = {};
  int cursor = -1;
  int extra = -1;

  EXPECT_EQ(copy_preedit(nullptr, 3, text, attrs, &cursor, &extra), 0);
  EXPECT_STREQ(text, "");
  EXPECT_EQ(cursor, 0);
  EXPECT_EQ(extra, 0);
  EXPECT_EQ(copy_preedit("", 0, text, attrs, &cursor, &extra), 0);

  ASSERT_EQ(copy_preedit("ㄅㄚ把", 7, text, attrs, &cursor, &extra), 1);
  EXPECT_STREQ(text, "ㄅㄚ把");
  EXPECT_EQ(cursor, 3);
  EXPECT_EQ(attrs[0].kind, 1);
  EXPECT_EQ(attrs[0].start, 0);
  EXPECT_EQ(attrs[0].end, 3);

  // 200 three-byte characters: 170 fit below 512 bytes.
  std::string long_text;
  for (int i = 0; i < 200; ++i) long_text += "把";
  ASSERT_EQ(copy_preedit(long_text.c_str(), 200, text, attrs, &cursor, &extra), 1);
  EXPECT_EQ(std::string(text).size(), 510u);
  EXPECT_EQ(attrs[0].end, 170);
  EXPECT_EQ(cursor, 170);

  std::string ascii(600, 'a');
  ASSERT_EQ(copy_preedit(ascii.c_str(), 0, text, attrs, &cursor, &extra), 1);
  EXPECT_EQ(std::string(text).size(), 511u);
  EXPECT_EQ(attrs[0].end, 511);
}

TEST(WindowGeometry, StaysOnTheScreen) {
  struct Case {
    int position, size, screen, placed;
  } cases[] = {
      {100, 50, 800, 100},  {780, 50, 800, 750}, {750, 50, 800, 750}, {-20, 50, 800, 0},
      {0, 50, 800, 0},      {10, 900, 800, 0},   {2147483600, 100, 800, 700},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(clamp_to_screen(c.position, c.size, c.screen), c.placed) << c.position << " " << c.size;
  }
}

}  // namespace
}  // namespace ferrolune::frontend
