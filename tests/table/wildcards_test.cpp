#include "table/wildcards.h"

#include <gtest/gtest.h>

#include <string>

namespace ferrolune::table {
namespace {

TEST(Wildcards, TranslateTestsWildcardsBeforeEscapes) {
  const Wildcards standard{U'?', U'*'};
  const Wildcards z_and_x{U'z', U'x'};
  const Wildcards wide{U'？', U'＊'};
  struct Case {
    std::string key;
    Wildcards wildcards;
    std::string pattern;
    bool wildcard_key;
  };
  const Case cases[] = {
      {"a?b", standard, "a?b", true},
      {"a*", standard, "a*", true},
      {"a[b]", standard, "a[[]b]", false},
      {"?", standard, "?", false},  // one byte: never a wildcard key
      {"*", standard, "*", false},
      {"azbx", z_and_x, "a?b*", true},
      {"z?*[]", z_and_x, "?[?][*][[]]", true},
      {"a?", z_and_x, "a[?]", false},
      {"z", z_and_x, "?", false},
      {"a？b＊", wide, "a?b*", true},
      {"？", wide, "?", true},  // three bytes
      {"a?*", Wildcards{}, "a[?][*]", false},
      {"日?", Wildcards{}, "日[?]", false},
      {"", standard, "", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(translate_wildcards(c.key, c.wildcards), c.pattern) << c.key;
    EXPECT_EQ(is_wildcard_key(c.key, c.wildcards), c.wildcard_key) << c.key;
  }
}

TEST(Wildcards, DefaultsDependOnTheMethod) {
  EXPECT_EQ(resolve_wildcards(DictionaryTable::Cangjie, std::nullopt), (Wildcards{U'?', U'*'}));
  EXPECT_EQ(resolve_wildcards(DictionaryTable::Simplex, std::nullopt), Wildcards{});
  EXPECT_EQ(resolve_wildcards(DictionaryTable::Cangjie, TableWildcards{"z", std::nullopt}),
            (Wildcards{U'z', std::nullopt}));
  EXPECT_EQ(resolve_wildcards(DictionaryTable::Simplex, TableWildcards{std::nullopt, "＊"}),
            (Wildcards{std::nullopt, U'＊'}));
  EXPECT_EQ(resolve_wildcards(DictionaryTable::Cangjie, TableWildcards{}), Wildcards{});
}

}  // namespace
}  // namespace ferrolune::table
