#include "table/table_lookup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/utf8.h"
#include "model_fixture.h"
#include "table/common_characters.h"

namespace ferrolune::table {
namespace {

using Values = std::vector<std::string>;

const std::string kCompat = "\uF900";
const std::string kUnified = "\u8C48";

// U+8C48 appears as itself and as the compatibility ideograph U+F900
// (char(63744) below). Ranks in the common list: 的 1, 是 2, 在 3, 了 4;
// U+8C48 and 蛤 are not listed.
constexpr std::string_view kCangjieScript = R"sql(
INSERT INTO "Generic-cj-cin" VALUES
  ('a', '日'), ('a', '曰'),
  ('ab', '在'), ('ac', '日月'), ('ad', '的'), ('ae', '，'), ('af', ' 空'), ('ag', ''),
  ('abc', '是'), ('abcd', '曰'), ('abcde', '了'), ('abcdef', '我'), ('aB', '你'), ('a1', '他'),
  ('ah', char(63744)), ('ai', char(35912)),
  ('x', char(63744)), ('x', char(35912)), ('x', '蛤'),
  ('hijkl', char(35912)), ('hijkl', char(63744)),
  ('a*', '星'), ('q*', '月'), ('q[', '金'), ('qq', '木'), ('?', '問'), ('a?', '答'),
  ('wxb', '甲'), ('wyb', '乙'), ('wzb', '丙'), ('wq?', '號'),
  (',', '逗');
INSERT INTO "Generic-simplex-cin" VALUES ('a?', '簡'), ('ab', '易'), ('a', '一');
INSERT INTO "Punctuations-cj-halfwidth-cin" VALUES (',', ','), ('?', '?');
INSERT INTO "Punctuations-cj-mixedwidth-cin" VALUES (',', '，'), (',', '、');
)sql";

struct Expected {
  Values candidates;
  Values exact_matches;
  bool prefix_applied;
  bool wildcard_used;
};

TableLookup cangjie(std::string key, bool prefix = false) {
  TableLookup lookup;
  lookup.method = DictionaryTable::Cangjie;
  lookup.key = std::move(key);
  lookup.prefix = prefix;
  return lookup;
}

TEST(LookupTableCandidates, ExactWildcardPunctuationAndPrefixCases) {
  const FixtureModel model(kCangjieScript);
  TableLookup z_wildcard = cangjie("");
  z_wildcard.wildcards = TableWildcards{"z", std::nullopt};
  const auto with_z = [&](std::string key) {
    TableLookup lookup = z_wildcard;
    lookup.key = std::move(key);
    return lookup;
  };
  const auto with_punctuation = [](TableLookup lookup, PunctuationStyle style) {
    lookup.punctuation = style;
    return lookup;
  };
  TableLookup simplex;
  simplex.method = DictionaryTable::Simplex;
  simplex.key = "a?";
  TableLookup simplex_prefix = simplex;
  simplex_prefix.key = "a";
  simplex_prefix.prefix = true;

  struct Case {
    const char* name;
    TableLookup lookup;
    Expected expected;
  };
  const Case cases[] = {
      {"exact", cangjie("a"), {{"日", "曰"}, {"日", "曰"}, false, false}},
      {"no de-dup without prefix", cangjie("x"),
       {{kCompat, kUnified, "蛤"}, {kCompat, kUnified, "蛤"}, false, false}},
      {"default one wildcard", cangjie("w?b"), {{"甲", "乙", "丙"}, {"甲", "乙", "丙"}, false, true}},
      {"default wildcard key is never prefixed", cangjie("ab*", true),
       {{"在", "是", "曰", "了", "我"}, {"在", "是", "曰", "了", "我"}, false, true}},
      {"one-byte ? is a plain key", cangjie("?"), {{"問"}, {"問"}, false, false}},
      {"configured wildcard", with_z("wzb"), {{"甲", "乙", "丙"}, {"甲", "乙", "丙"}, false, true}},
      {"literal * escaped", with_z("z*"), {{"星", "月"}, {"星", "月"}, false, true}},
      {"literal [ escaped", with_z("z["), {{"金"}, {"金"}, false, true}},
      {"literal ? escaped", with_z("wz?"), {{"號"}, {"號"}, false, true}},
      {"literal * without a wildcard is exact", with_z("a*"), {{"星"}, {"星"}, false, false}},
      {"simplex has no default wildcards", simplex, {{"簡"}, {"簡"}, false, false}},
      {"simplex is never prefixed", simplex_prefix, {{"一"}, {"一"}, false, false}},
      {"half punctuation first", with_punctuation(cangjie(","), PunctuationStyle::Half),
       {{","}, {","}, false, false}},
      {"mixed punctuation first", with_punctuation(cangjie(","), PunctuationStyle::Mixed),
       {{"，", "、"}, {"，", "、"}, false, false}},
      {"one-byte ? in punctuation", with_punctuation(cangjie("?"), PunctuationStyle::Half),
       {{"?"}, {"?"}, false, false}},
      {"no punctuation row falls back", with_punctuation(cangjie("a"), PunctuationStyle::Half),
       {{"日", "曰"}, {"日", "曰"}, false, false}},
      {"original ignores punctuation", cangjie(","), {{"逗"}, {"逗"}, false, false}},
      {"prefix de-dups by canonical form", cangjie("x", true),
       {{kCompat, "蛤"}, {kCompat, "蛤"}, true, false}},
      {"five letters: no completion", cangjie("hijkl", true), {{kUnified}, {kUnified}, true, false}},
      {"prefix completes, common first", cangjie("a", true),
       {{"日", "曰", "的", "是", "在", "了", "日月", kCompat}, {"日", "曰"}, true, false}},
      {"a completion only of longer codes", cangjie("abcd", true),
       {{"曰", "了"}, {"曰"}, true, false}},
      {"symbols are offered for their own code", cangjie("ae", true),
       {{"，"}, {"，"}, true, false}},
      {"no prefix for non-letters", cangjie("a1", true), {{"他"}, {"他"}, false, false}},
  };
  for (const Case& c : cases) {
    const auto result = lookup_table_candidates(model.get(), c.lookup);
    ASSERT_TRUE(result) << c.name << ": " << result.error().message();
    EXPECT_EQ(result->candidates, c.expected.candidates) << c.name;
    EXPECT_EQ(result->exact_matches, c.expected.exact_matches) << c.name;
    EXPECT_EQ(result->prefix_applied, c.expected.prefix_applied) << c.name;
    EXPECT_EQ(result->wildcard_used, c.expected.wildcard_used) << c.name;
  }
}

TEST(LookupTableCandidates, CompletionsAreTheBest36ByRankInOneBoundedList) {
  // Forty common characters in reverse rank order, interleaved with
  // unranked phrases: only ranks 1 to 36 survive, in rank order, and the
  // phrases lose to every listed character.
  std::vector<std::string> characters;
  std::size_t pos = 0;
  while (characters.size() < 40) {
    std::string one;
    base::append_utf8(one, *base::next_scalar(kCommonCharacterList, pos));
    characters.push_back(one);
  }
  std::string script = "INSERT INTO \"Generic-cj-cin\" VALUES ('b', '卜')";
  for (std::size_t i = 0; i < 40; ++i) {
    const std::size_t rank_index = 39 - i;
    const std::string code = std::string("b") + static_cast<char>('a' + i / 26) +
                             static_cast<char>('a' + i % 26);
    script += ", ('" + code + "', '" + characters[rank_index] + "'), ('" + code + "', '詞" +
              std::to_string(i) + "')";
  }
  script += ";";
  const FixtureModel model(script);
  const auto result = lookup_table_candidates(model.get(), cangjie("b", true));
  ASSERT_TRUE(result) << result.error().message();
  Values expected{"卜"};
  expected.insert(expected.end(), characters.begin(), characters.begin() + 36);
  EXPECT_EQ(result->candidates, expected);
  EXPECT_EQ(result->exact_matches, Values{"卜"});
}

TEST(LookupTableCandidates, FilterJudgesEveryNonEmptyCandidate) {
  const FixtureModel model(kCangjieScript);
  struct Seen {
    std::vector<std::string> texts;
  };
  Seen refused;
  const auto refuse_all = std::make_shared<const CandidateFilter>(
      [](void* context, const char* text, std::uint64_t length) {
        static_cast<Seen*>(context)->texts.emplace_back(text, length);
        return 0;
      },
      &refused);
  TableLookup everything = cangjie("a", true);
  everything.filter = refuse_all;
  const auto result = lookup_table_candidates(model.get(), everything);
  ASSERT_TRUE(result);
  EXPECT_EQ(*result, (TableLookupResult{{}, {}, true, false}));
  // Completions are judged after their rank has earned a place; what the
  // filter refused counts as unseen.
  EXPECT_EQ(refused.texts,
            (Values{"日", "曰", "在", "日月", "的", "是", "曰", "了", kCompat, kUnified}));

  // An empty value is kept and never shown to the filter.
  refused.texts.clear();
  TableLookup empty_value = cangjie("ag");
  empty_value.filter = refuse_all;
  const auto kept = lookup_table_candidates(model.get(), empty_value);
  ASSERT_TRUE(kept);
  EXPECT_EQ(kept->candidates, Values{""});
  EXPECT_TRUE(refused.texts.empty());

  // A filter with a context keeps what it accepts, in order.
  TableLookup some = cangjie("x");
  some.filter = std::make_shared<const CandidateFilter>(
      [](void*, const char* text, std::uint64_t length) {
        return static_cast<int>(std::string_view(text, length) != "蛤");
      },
      nullptr);
  const auto filtered = lookup_table_candidates(model.get(), some);
  ASSERT_TRUE(filtered);
  EXPECT_EQ(filtered->candidates, (Values{kCompat, kUnified}));
}

TEST(LookupTableCandidates, TheFirstFailingQueryEndsTheLookup) {
  struct Case {
    const char* script;
    TableLookup lookup;
    model::ModelError expected;
  };
  TableLookup half = cangjie(",");
  half.punctuation = PunctuationStyle::Half;
  const Case cases[] = {
      {"DROP TABLE \"Punctuations-cj-halfwidth-cin\";", half,
       {model::ModelErrorKind::QueryFailed, "no such table: Punctuations-cj-halfwidth-cin"}},
      {"INSERT INTO \"Generic-cj-cin\" VALUES ('k', 'x'), ('kk', NULL);", cangjie("k", true),
       {model::ModelErrorKind::InvalidData, "value must contain SQLite TEXT"}},
      {"", cangjie(std::string("k\0", 2)),
       {model::ModelErrorKind::InvalidInput, "query key must not contain NUL"}},
  };
  for (const Case& c : cases) {
    const FixtureModel model(c.script);
    const auto result = lookup_table_candidates(model.get(), c.lookup);
    ASSERT_FALSE(result) << c.script;
    EXPECT_EQ(result.error(), c.expected) << c.script;
  }
}

}  // namespace
}  // namespace ferrolune::table
