// Traditional Bopomofo typed through ferrolune_session_input: syllables on
// the five layouts, the candidate list and its paging, punctuation and
// control lists, the modes (English, full width, Caps Lock, the keypad)
// and the profiles, on a small model built here.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "capi_session.h"
#include "capi_support.h"
#include "ferrolune.h"
#include "support/sqlite_fixture.h"
#include "support/temp_dir.h"

namespace ferrolune::capi {
namespace {

// The reading key of one Bopomofo syllable, from the engine's own codec.
std::string qstring_of(const std::string& reading) {
  const std::string request = R"({"operation":"encode","reading":")" + reading + R"("})";
  ferrolune_result* result = nullptr;
  if (ferrolune_reading_codec(request.data(), request.size(), &result) != FERROLUNE_OK) {
    throw std::runtime_error("cannot encode " + reading + ": " + last_error_text());
  }
  const std::string answer = result_text(result);
  ferrolune_result_free(&result);
  return unquote(member(answer, "qstring"));
}

std::string reading_of(const std::string& qstring) {
  if (qstring.empty()) return "";
  std::string escaped;
  for (const char c : qstring) {
    if (c == '\\' || c == '"') escaped += '\\';
    escaped += c;
  }
  const std::string request = R"({"operation":"decode","qstring":")" + escaped + R"("})";
  ferrolune_result* result = nullptr;
  if (ferrolune_reading_codec(request.data(), request.size(), &result) != FERROLUNE_OK) return "<bad key>";
  const std::string answer = result_text(result);
  ferrolune_result_free(&result);
  return unquote(member(answer, "reading"));
}

const std::vector<std::string> kBa3 = {"把", "靶", "鈀", "叭", "吧", "巴", "芭", "疤", "捌", "笆",
                                       "粑", "紮", "耙", "罷", "爸", "霸", "壩", "灞", "拔", "跋"};
const std::vector<std::string> kDa4 = {"大", "達", "答", "搭", "打", "噠", "韃", "瘩", "褡",
                                       "沓", "妲", "怛", "笪", "靼", "剳", "躂", "鎝", "墶"};
const std::vector<std::string> kMa = {"媽", "抹", "麻1", "嘛", "螞"};

std::string rows(const std::string& key, const std::vector<std::string>& values) {
  std::string sql;
  for (const std::string& value : values) {
    sql += R"(INSERT INTO "Mandarin-bpmf-cin" VALUES (')" + key + "', '" + value + "');";
  }
  return sql;
}

// ㄨㄛˇ has one character, ㄅㄚˇ 20 (three pages of nine), ㄉㄚˋ 18, ㄇㄚ 5
// (one page, first tone), ㄊㄚ three that the filter tests thin out, ㄆㄛˋ
// none. Punctuation: "<" of the standard layout, "[" and "," of every
// layout, and three control lists.
std::string fixture_model() {
  return std::string(test::kMinimalModelSchema) + rows(qstring_of("ㄨㄛˇ"), {"我"}) + rows(qstring_of("ㄅㄚˇ"), kBa3) +
         rows(qstring_of("ㄉㄚˋ"), kDa4) + rows(qstring_of("ㄇㄚ"), kMa) +
         rows(qstring_of("ㄊㄚ"), {"他", "她", "它"}) + rows("_punctuation_Standard_<", {"《", "〈"}) +
         rows("_punctuation_[", {"「"}) + rows("_punctuation_,", {"，", "、"}) + rows("_ctrl_x", {"※", "§"}) +
         rows("_ctrl_opt_a", {"α"}) + rows("_punctuation_list", {"，", "。", "、", "；"});
}

// One step of a case: "t:keys" types each character, "k:name" presses a
// named key, anything else is an operation document.
std::vector<std::string> expand(const std::string& step) {
  if (step.rfind("k:", 0) == 0) return {R"({"type":"key","key":")" + step.substr(2) + R"("})"};
  if (step.rfind("t:", 0) != 0) return {step};
  std::vector<std::string> operations;
  const std::string keys = step.substr(2);
  for (std::size_t i = 0; i < keys.size();) {
    std::size_t length = 1;
    const auto lead = static_cast<unsigned char>(keys[i]);
    if (lead >= 0xF0) length = 4;
    else if (lead >= 0xE0) length = 3;
    else if (lead >= 0xC0) length = 2;
    std::string text = keys.substr(i, length);
    if (text == "\"" || text == "\\") text = "\\" + text;
    operations.push_back(R"({"type":"character","text":")" + text + R"("})");
    i += length;
  }
  return operations;
}

// The flags of an answer that differ from a plain handled key.
std::string flags(const std::string& answer) {
  std::string out;
  const auto add = [&](const char* word) { out += out.empty() ? word : std::string(" ") + word; };
  if (member(answer, "handled") == "false") add("pass");
  if (member(answer, "beep") == "true") add("beep");
  if (member(answer, "delete_backward") == "true") add("delete");
  if (member(answer, "send_return") == "true") add("return");
  if (member(answer, "discard_composition") == "true") add("discard");
  return out;
}

// What the user sees: visible text | cursor | the code as Bopomofo |
// page/page_count | highlight | the displayed candidates.
std::string view(const std::string& document) {
  std::string displayed = member(document, "displayed_candidates");
  std::string shown;
  for (const char c : displayed) {
    if (c != '"' && c != '[' && c != ']') shown += c;
  }
  return unquote(member(document, "visible_text")) + "|" + member(document, "cursor") + "|" +
         reading_of(unquote(member(document, "code"))) + "|" + member(document, "page") + "/" +
         member(document, "page_count") + "|" + member(document, "highlight") + "|" + shown;
}

struct Outcome {
  std::string commits;  // the commits of all steps, "|" between operations that committed
  std::string flags;    // of the last operation
  std::string view;     // of the final snapshot
};

Outcome run(Session& session, const std::vector<std::string>& steps) {
  Outcome outcome;
  std::string last;
  for (const std::string& step : steps) {
    for (const std::string& operation : expand(step)) {
      last = session.input(operation);
      if (last.rfind("status ", 0) == 0) {
        outcome.commits += "<" + last + ">";
        continue;
      }
      const std::string commit = unquote(member(last, "commit"));
      if (!commit.empty()) outcome.commits += (outcome.commits.empty() ? "" : "|") + commit;
    }
  }
  outcome.flags = flags(last);
  outcome.view = view(session.snapshot());
  return outcome;
}

struct Case {
  const char* name;
  std::string config;
  std::vector<std::string> steps;
  std::string commits;
  std::string flags;
  std::string view;
};

constexpr const char* kEmpty = "|0||0/0|null|";
const std::string kBaPage0 = "把|1|ㄅㄚˇ|0/3|0|把,靶,鈀,叭,吧,巴,芭,疤,捌";
const std::string kTouch = R"({"profile":"touch"})";

class TraditionalTyping : public ::testing::Test {
 protected:
  void SetUp() override {
    model_ = dir_.file("model.db").string();
    test::write_sqlite(model_, fixture_model());
  }

  void check(const Case& c) {
    Session session(model_, c.config);
    ASSERT_EQ(session.status(), FERROLUNE_OK) << c.name << ": " << last_error_text();
    const Outcome outcome = run(session, c.steps);
    EXPECT_EQ(outcome.commits, c.commits) << c.name;
    EXPECT_EQ(outcome.flags, c.flags) << c.name;
    EXPECT_EQ(outcome.view, c.view) << c.name;
  }

  test::TempDir dir_;
  std::string model_;
};

TEST_F(TraditionalTyping, Syllables) {
  const Case cases[] = {
      {"a tone opens the list", "", {"t:183"}, "", "", kBaPage0},
      {"one character is committed at once", "", {"t:ji3"}, "我", "", kEmpty},
      {"no character: beep, the syllable stays", "", {"t:qi4"}, "", "beep", "ㄆㄛˋ|3|ㄆㄛˋ|0/0|null|"},
      {"backspace then edits it", "", {"t:qi4", "k:backspace"}, "", "", "ㄆㄛ|2|ㄆㄛ|0/0|null|"},
      {"space looks up the first tone", "", {"t:a8", "k:space"}, "", "", "媽|1|ㄇㄚ|0/1|0|媽,抹,麻1,嘛,螞"},
      {"enter as space", "", {"t:a8", "k:enter"}, "", "", "媽|1|ㄇㄚ|0/1|0|媽,抹,麻1,嘛,螞"},
      {"a later initial replaces the earlier", "", {"t:1q"}, "", "", "ㄆ|1|ㄆ|0/0|null|"},
      {"a selection key chooses on the page", "", {"t:183", "k:right", "t:2"}, "粑", "", kEmpty},
      {"a Bopomofo key commits the highlight and goes on", "", {"t:183", "k:down", "k:down", "t:j"}, "鈀", "",
       "ㄨ|1|ㄨ|0/0|null|"},
      {"the next syllable over a list", "", {"t:183ji3"}, "把|我", "", kEmpty},
      {"touch: 1 is ㄅ, not a selection key", kTouch, {"t:183", "t:1"}, "把", "", "ㄅ|1|ㄅ|0/0|null|"},
      {"touch: a complete syllable over a list", kTouch, {"t:183", "t:284"}, "把", "",
       "大|1|ㄉㄚˋ|0/2|0|大,達,答,搭,打,噠,韃,瘩,褡"},
      {"backspace takes the tone back", "", {"t:183", "k:backspace"}, "", "", "ㄅㄚ|2|ㄅㄚ|0/0|null|"},
      {"backspace of the last key", "", {"t:1", "k:backspace"}, "", "discard", kEmpty},
      {"escape drops the syllable", "", {"t:18", "k:escape"}, "", "", kEmpty},
      {"escape drops the list", "", {"t:183", "k:escape"}, "", "", kEmpty},
      {"navigation keys beep while composing", "", {"t:1", "k:left", "k:page_down", "k:home", "k:delete", "k:tab"},
       "", "beep", "ㄅ|1|ㄅ|0/0|null|"},
      {"finish commits the Bopomofo", "", {"t:18", R"({"type":"finish"})"}, "ㄅㄚ", "", kEmpty},
      {"finish commits the preview", "", {"t:183", "k:down", R"({"type":"finish"})"}, "把", "", kEmpty},
      {"finish_composition selects the highlight", "",
       {"t:183", "k:down", R"({"type":"finish_composition","select_highlighted_candidate":true})"}, "靶", "",
       kEmpty},
      {"hanyu_pinyin shows the letters", R"({"layout":"hanyu_pinyin"})", {"t:ba"}, "", "", "ba|2|ㄅㄚ|0/0|null|"},
      {"hanyu_pinyin refuses a leading digit", R"({"layout":"hanyu_pinyin"})", {"t:3"}, "", "beep", kEmpty},
      {"hanyu_pinyin: a letter over a list starts the next syllable", R"({"layout":"hanyu_pinyin"})",
       {"t:ba3", "t:w"}, "把", "", "w|1|ㄨ|0/0|null|"},
      {"hanyu_pinyin backspace takes the digit back", R"({"layout":"hanyu_pinyin"})", {"t:ba3", "k:backspace"}, "",
       "", "ba|2|ㄅㄚ|0/0|null|"},
      {"configured selection keys", R"({"traditional_selection_keys":"asd"})", {"t:183", "t:s"}, "靶", "",
       kEmpty},
  };
  for (const Case& c : cases) check(c);
}

TEST_F(TraditionalTyping, EmptyCompositionKeys) {
  const Case cases[] = {
      {"space commits a space", "", {"k:space"}, " ", "", kEmpty},
      {"a typed space is the space key", "", {"t: "}, " ", "", kEmpty},
      {"full width space", "", {R"({"type":"set_full_width","enabled":true})", "k:space"}, "　", "", kEmpty},
      {"desktop enter passes", "", {"k:enter"}, "", "pass", kEmpty},
      {"touch enter sends return", kTouch, {"k:enter"}, "", "return", kEmpty},
      {"desktop backspace passes", "", {"k:backspace"}, "", "pass", kEmpty},
      {"touch backspace deletes", kTouch, {"k:backspace"}, "", "delete", kEmpty},
      {"escape passes", "", {"k:escape"}, "", "pass", kEmpty},
      {"navigation passes", "", {"k:left"}, "", "pass", kEmpty},
      {"a release is left alone", "",
       {"t:1", R"({"type":"character","text":"8","modifiers":{"release":true}})"}, "", "pass",
       "ㄅ|1|ㄅ|0/0|null|"},
  };
  for (const Case& c : cases) check(c);
}

TEST_F(TraditionalTyping, CandidateList) {
  const auto page = [](int delta) { return R"({"type":"page","delta":)" + std::to_string(delta) + "}"; };
  const auto move = [](int delta) { return R"({"type":"move_highlight","delta":)" + std::to_string(delta) + "}"; };
  const auto select = [](int index) { return R"({"type":"select","index":)" + std::to_string(index) + "}"; };
  const Case cases[] = {
      {"18: two pages, +1 twice is page 0", "", {"t:284", page(1), page(1)}, "", "",
       "大|1|ㄉㄚˋ|0/2|0|大,達,答,搭,打,噠,韃,瘩,褡"},
      {"18: -1 from page 0 is page 1", "", {"t:284", page(-1)}, "", "", "大|1|ㄉㄚˋ|1/2|0|沓,妲,怛,笪,靼,剳,躂,鎝,墶"},
      {"5: a page move beeps", "", {"t:a8", "k:space", page(1)}, "", "beep", "媽|1|ㄇㄚ|0/1|0|媽,抹,麻1,嘛,螞"},
      {"5: highlight before the first beeps", "", {"t:a8", "k:space", move(-1)}, "", "beep",
       "媽|1|ㄇㄚ|0/1|0|媽,抹,麻1,嘛,螞"},
      {"5: highlight past the last beeps", "", {"t:a8", "k:space", "k:end", "k:down"}, "", "beep",
       "媽|1|ㄇㄚ|0/1|4|媽,抹,麻1,嘛,螞"},
      {"20: -1 from the first is the last", "", {"t:183", move(-1)}, "", "", "把|1|ㄅㄚˇ|2/3|1|拔,跋"},
      {"20: +1 from the last wraps", "", {"t:183", "k:end", move(1)}, "", "", kBaPage0},
      {"20: the highlight crosses pages", "", {"t:183", move(9)}, "", "", "把|1|ㄅㄚˇ|1/3|0|笆,粑,紮,耙,罷,爸,霸,壩,灞"},
      {"a key past a short last page beeps", "", {"t:183", page(2), "t:3"}, "", "beep", "把|1|ㄅㄚˇ|2/3|0|拔,跋"},
      {"a key on the short last page", "", {"t:183", page(-1), "t:2"}, "跋", "", kEmpty},
      {"select on a later page", "", {"t:183", page(1), select(1)}, "粑", "", kEmpty},
      {"keys: right and left page", "", {"t:183", "k:right", "k:right", "k:left"}, "", "",
       "把|1|ㄅㄚˇ|1/3|0|笆,粑,紮,耙,罷,爸,霸,壩,灞"},
      {"keys: space pages", "", {"t:183", "k:space", "k:space", "k:space"}, "", "", kBaPage0},
      {"keys: page_up from the first page", "", {"t:183", "k:page_up"}, "", "", "把|1|ㄅㄚˇ|2/3|0|拔,跋"},
      {"keys: up, down, home, end", "", {"t:183", "k:down", "k:down", "k:up", "k:end", "k:home", "k:down"}, "", "",
       "把|1|ㄅㄚˇ|0/3|1|把,靶,鈀,叭,吧,巴,芭,疤,捌"},
      {"keys: enter commits the highlight", "", {"t:183", "k:end", "k:enter"}, "跋", "", kEmpty},
      {"keys: shift with navigation beeps", "",
       {"t:183", R"({"type":"key","key":"down","modifiers":{"shift":true}})"}, "", "beep", kBaPage0},
      {"keys: delete and tab beep", "", {"t:183", "k:delete", "k:tab"}, "", "beep", kBaPage0},
      {"hsu keys", R"({"layout":"hsu"})", {"t:byf", "t:d"}, "鈀", "", kEmpty},
      {"eten26 keys", R"({"layout":"eten26"})", {"t:baj", "t:;"}, "疤", "", kEmpty},
  };
  for (const Case& c : cases) check(c);
}

TEST_F(TraditionalTyping, Punctuation) {
  const std::string full = R"({"type":"set_full_width","enabled":true})";
  const Case cases[] = {
      {"a layout punctuation list", "", {"t:<"}, "", "", "《|1||0/1|0|《,〈"},
      {"a single general value", "", {"t:["}, "「", "", kEmpty},
      {"no value: the character itself", "", {"t:!"}, "!", "", kEmpty},
      {"no value, full width", "", {full, "t:!"}, "！", "", kEmpty},
      {"a list replaces the syllable list", "", {"t:183", "t:<"}, "把", "", "《|1||0/1|0|《,〈"},
      {"a single value after the highlight", "", {"t:183", "k:down", "t:["}, "靶「", "", kEmpty},
      {"no value over a list beeps", "", {"t:183", "t:!"}, "", "beep", kBaPage0},
      {"punctuation while composing beeps", "", {"t:1", "t:<"}, "", "beep", "ㄅ|1|ㄅ|0/0|null|"},
      {"a punctuation list is chosen from", "", {"t:<", "t:2"}, "〈", "", kEmpty},
      {"backspace closes a punctuation list", "", {"t:<", "k:backspace"}, "", "discard", kEmpty},
      {"standard: the comma is ㄝ", "", {"t:,"}, "", "", "ㄝ|1|ㄝ|0/0|null|"},
      {"eten: the comma is ㄓ", R"({"layout":"eten"})", {"t:,"}, "", "", "ㄓ|1|ㄓ|0/0|null|"},
      {"hsu: the general comma list", R"({"layout":"hsu"})", {"t:,"}, "", "", "，|1||0/1|0|，,、"},
      {"eten26: the general comma list", R"({"layout":"eten26"})", {"t:,"}, "", "", "，|1||0/1|0|，,、"},
      {"hanyu_pinyin: the general comma list", R"({"layout":"hanyu_pinyin"})", {"t:,"}, "", "",
       "，|1||0/1|0|，,、"},
      {"hsu: the standard-only key falls back", R"({"layout":"hsu"})", {"t:<"}, "<", "", kEmpty},
      {"an upper-case letter is not a key", "", {"t:A"}, "A", "", kEmpty},
      {"a full-width candidate", "", {full, "t:a8", "k:space", "t:3"}, "麻１", "", kEmpty},
  };
  for (const Case& c : cases) check(c);
}

TEST_F(TraditionalTyping, Modes) {
  const std::string english = R"({"type":"set_english","enabled":true})";
  const std::string full = R"({"type":"set_full_width","enabled":true})";
  const auto with = [](const std::string& text, const std::string& modifiers) {
    return R"({"type":"character","text":")" + text + R"(","modifiers":{)" + modifiers + "}}";
  };
  const std::string ignore = R"({"behaviors":{"ignore_caps_lock_in_chinese":true}})";
  const std::string not_literal = R"({"behaviors":{"literal_keypad":false}})";
  const Case cases[] = {
      {"english commits as typed", "", {english, "t:a1,", "k:space"}, "a|1|,| ", "", kEmpty},
      {"english in full width", "", {full, english, "t:a", "k:space"}, "ａ|　", "", kEmpty},
      {"english passes enter", "", {english, "k:enter"}, "", "pass", kEmpty},
      {"english passes control", "", {english, with("x", R"("control":true)")}, "", "pass", kEmpty},
      {"english keypad", "", {english, with("1", R"("keypad":true)")}, "1", "", kEmpty},
      {"english commits the syllable first", "", {"t:18", english}, "ㄅㄚ", "", kEmpty},
      {"caps lock commits the letter", "", {"t:1", with("A", R"("caps_lock":true)")}, "A", "", kEmpty},
      {"caps lock drops an open list", "", {"t:183", with("1", R"("caps_lock":true)")}, "1", "", kEmpty},
      {"ignored caps lock lowers the letter", ignore, {with("A", R"("caps_lock":true)")}, "", "",
       "ㄇ|1|ㄇ|0/0|null|"},
      {"shift with a letter commits it", ignore, {"t:1", with("A", R"("shift":true,"caps_lock":true)")}, "A", "",
       kEmpty},
      {"shift with a letter, lower case", "", {"t:1", with("a", R"("shift":true)")}, "a", "", kEmpty},
      {"literal keypad commits the syllable and the digit", "", {"t:1", with("1", R"("keypad":true)")}, "ㄅ1",
       "", kEmpty},
      {"literal keypad in full width", "", {full, "t:183", with("1", R"("keypad":true)")}, "把１", "", kEmpty},
      {"keypad without literal_keypad types", not_literal, {with("1", R"("keypad":true)")}, "", "",
       "ㄅ|1|ㄅ|0/0|null|"},
      {"keypad with control passes", "", {"t:1", with("1", R"("keypad":true,"control":true)")}, "", "pass",
       "ㄅ|1|ㄅ|0/0|null|"},
      {"control opens its list", "", {with("x", R"("control":true)")}, "", "", "※|1||0/1|0|※,§"},
      {"control with 1 opens the punctuation list", "", {with("1", R"("control":true)")}, "", "",
       "，|1||0/1|0|，,。,、,；"},
      {"control with 0 opens the punctuation list", "", {with("0", R"("control":true)")}, "", "",
       "，|1||0/1|0|，,。,、,；"},
      {"control and alt: one value is committed", "", {with("a", R"("control":true,"alt":true)")}, "α", "", kEmpty},
      {"control without a list passes", "", {with("q", R"("control":true)")}, "", "pass", kEmpty},
      {"control while composing beeps", "", {"t:1", with("x", R"("control":true)")}, "", "beep",
       "ㄅ|1|ㄅ|0/0|null|"},
      {"control over a list beeps", "", {"t:183", with("x", R"("control":true)")}, "", "beep", kBaPage0},
      {"control with command passes", "", {with("x", R"("control":true,"command":true)")}, "", "pass", kEmpty},
      {"alt passes when empty", "", {with("x", R"("alt":true)")}, "", "pass", kEmpty},
      {"alt beeps while composing", "", {"t:1", with("x", R"("alt":true)")}, "", "beep", "ㄅ|1|ㄅ|0/0|null|"},
      {"a held named key beeps while composing", "",
       {"t:1", R"({"type":"key","key":"left","modifiers":{"control":true}})"}, "", "beep", "ㄅ|1|ㄅ|0/0|null|"},
      {"a held named key passes when empty", "", {R"({"type":"key","key":"space","modifiers":{"alt":true}})"}, "",
       "pass", kEmpty},
      {"a held keypad key passes", "",
       {"t:1", R"({"type":"key","key":"enter","modifiers":{"alt":true,"keypad":true}})"}, "", "pass",
       "ㄅ|1|ㄅ|0/0|null|"},
  };
  for (const Case& c : cases) check(c);
}

// The same syllables on every layout reach the same lists.
TEST_F(TraditionalTyping, EveryLayoutReachesTheSameList) {
  struct Layout {
    const char* name;
    const char* ba3;
    const char* wo3;
  };
  const Layout layouts[] = {{"standard", "183", "ji3"}, {"hsu", "byf", "xhf"},     {"eten", "ba3", "xo3"},
                            {"eten26", "baj", "xoj"},    {"hanyu_pinyin", "ba3", "wo3"}};
  for (const Layout& layout : layouts) {
    Session session(model_, std::string(R"({"layout":")") + layout.name + R"("})");
    ASSERT_EQ(session.status(), FERROLUNE_OK) << layout.name;
    const Outcome list = run(session, {std::string("t:") + layout.ba3});
    EXPECT_EQ(list.commits, "") << layout.name;
    const std::string shown = layout.name == std::string("hsu") || layout.name == std::string("eten26")
                                  ? "把|1|ㄅㄚˇ|0/3|0|把,靶,鈀,叭,吧,巴,芭,疤"
                                  : kBaPage0;
    EXPECT_EQ(list.view, shown) << layout.name;
    const Outcome single = run(session, {"k:escape", std::string("t:") + layout.wo3});
    EXPECT_EQ(single.commits, "我") << layout.name;
    EXPECT_EQ(single.view, kEmpty) << layout.name;
  }
}

// Refusals are beeps or keys for the application; errors change nothing.
TEST_F(TraditionalTyping, ErrorsLeaveTheSnapshotUnchanged) {
  Session session(model_, "");
  ASSERT_EQ(session.status(), FERROLUNE_OK);
  run(session, {"t:183", R"({"type":"page","delta":2})"});
  const std::string before = session.snapshot();
  const std::pair<const char*, const char*> failures[] = {
      {R"({"type":"select","index":2})", "status 1: candidate index is outside the list"},
      {R"({"type":"select","index":9})", "status 1: candidate index is not page-local"},
      {R"({"type":"character","text":"12"})", "status 1: character text must be one non-control Unicode scalar"},
      {R"({"type":"character","text":"\t"})", "status 1: character text must be one non-control Unicode scalar"},
      {R"({"type":"open_candidates","index":0})", "status 1: open_candidates requires Smart Mandarin"},
  };
  for (const auto& [operation, message] : failures) {
    EXPECT_EQ(session.input(operation), message);
    EXPECT_EQ(session.snapshot(), before) << operation;
  }

  // A model that loses its phonetic table under a running session: the
  // lookup fails and the syllable is as it was before the tone key.
  Session typing(model_, "");
  run(typing, {"t:18"});
  const std::string composing = typing.snapshot();
  test::write_sqlite(model_, R"(DROP TABLE "Mandarin-bpmf-cin";)");
  EXPECT_EQ(typing.input(R"({"type":"character","text":"3"})").substr(0, 9), "status 3:");
  EXPECT_EQ(typing.snapshot(), composing);
}

struct FilterContext {
  std::vector<std::string> rejected;
  bool throws = false;
};

int filter(void* context, const char* text, uint64_t length) {
  auto* filter_context = static_cast<FilterContext*>(context);
  if (filter_context->throws) throw std::runtime_error("filter failed");
  const std::string candidate(text, static_cast<std::size_t>(length));
  for (const std::string& rejected : filter_context->rejected) {
    if (rejected == candidate) return 0;
  }
  return 1;
}

TEST_F(TraditionalTyping, TheCandidateFilterThinsTheList) {
  FilterContext context{{"她", "它"}, false};
  Session session(model_, "", filter, &context);
  ASSERT_EQ(session.status(), FERROLUNE_OK) << last_error_text();
  EXPECT_EQ(run(session, {"t:w8", "k:space"}).commits, "他");

  context.rejected = {"他", "她", "它"};
  const Outcome none = run(session, {"t:w8", "k:space"});
  EXPECT_EQ(none.flags, "beep");
  EXPECT_EQ(none.view, "ㄊㄚ|2|ㄊㄚ|0/0|null|");
}

TEST_F(TraditionalTyping, AThrowingFilterInvalidatesTheSession) {
  FilterContext context{{}, true};
  Session session(model_, "", filter, &context);
  ASSERT_EQ(session.status(), FERROLUNE_OK) << last_error_text();
  run(session, {"t:w8"});
  EXPECT_EQ(session.input(R"({"type":"key","key":"space"})"), "status 6: Ferrolune caught an internal panic");
  EXPECT_EQ(session.input(R"({"type":"key","key":"escape"})"),
            "status 6: input session was invalidated by an internal panic");
  EXPECT_EQ(session.snapshot(), "status 6: input session was invalidated by an internal panic");
  session.free();
  EXPECT_EQ(session.get(), nullptr);
}

// The phonetic list does not come from learned data, so another session's
// reset leaves it as the user sees it and the choice goes ahead.
TEST_F(TraditionalTyping, AnotherSessionsResetKeepsAPhoneticList) {
  const std::string config = R"({"user_database":")" + dir_.file("user.db").string() + R"("})";
  Session choosing(model_, config);
  Session resetting(model_, config);
  ASSERT_EQ(choosing.status(), FERROLUNE_OK) << last_error_text();
  ASSERT_EQ(resetting.status(), FERROLUNE_OK) << last_error_text();
  run(choosing, {"t:183"});
  EXPECT_EQ(member(resetting.input(R"({"type":"reset_learning"})"), "generation"), "1");
  const std::string chosen = choosing.input(R"({"type":"select","index":1})");
  EXPECT_EQ(member(chosen, "commit"), "\"靶\"");
  EXPECT_EQ(member(chosen, "generation"), "1");
  EXPECT_EQ(flags(chosen), "");
}

}  // namespace
}  // namespace ferrolune::capi
