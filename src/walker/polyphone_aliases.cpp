#include "walker/polyphone_aliases.h"

#include <array>
#include <utility>

namespace ferrolune::walker {

namespace {

// (member key, group key). Members: ㄧ ㄧˋ ㄧˊ; ㄅㄨˋ ㄅㄨˊ; ㄕˊ ㄕㄜˊ ㄕㄣˊ;
// ㄜˋ; ㄛˊ ㄜˊ; ㄍㄜˋ ㄍㄜ˙; ㄇㄣˊ ㄇㄣ˙; ㄉㄠˇ ㄉㄠˋ; ㄇㄛ˙ ㄇㄜ˙; ㄌㄧ ㄌㄧˇ;
// ㄋㄚˇ ㄋㄟˇ; ㄇㄚˊ ㄇㄚ˙; ㄏㄨㄚ ㄏㄨㄚˊ; ㄨˋ ㄜˇ; ㄡˋ ㄩˇ; ㄏㄜˋ ㄒㄧㄚˋ;
// ㄋㄜ ㄋㄧˊ; ㄌㄧㄝ ㄌㄧㄝˇ; ㄗㄢˊ ㄗㄚˊ; ㄗˇ ㄗ˙; ㄦ ㄦˊ.
constexpr std::array<std::pair<std::string_view, std::string_view>, 43> kMembers{{
    {"F0", "F0#"}, {"5_", "F0#"}, {"u?", "F0#"},
    {"L_", "L_#"}, {"=@", "L_#"},
    {"p?", "p?#"}, {"<C", "p?#"}, {"{J", "p?#"},
    {":b", ":b#"},
    {"qA", "qA#"}, {"zB", "qA#"},
    {"Cb", "Cb#"}, {"rq", "Cb#"},
    {"mJ", "mJ#"}, {"\\y", "mJ#"},
    {"4W", "4W#"}, {"cf", "4W#"},
    {"cp", "cp#"}, {"lq", "cp#"},
    {"N0", "N0#"}, {"]O", "N0#"},
    {"OP", "OP#"}, {"|U", "OP#"},
    {"k@", "k@#"}, {"Zo", "k@#"},
    {"p1", "p1#"}, {"PA", "p1#"},
    {"K_", "K_#"}, {"ZR", "K_#"},
    {"gg", "gg#"}, {"2P", "gg#"},
    {"Eb", "Eb#"}, {"L`", "Eb#"},
    {"R3", "R3#"}, {"|?", "R3#"},
    {"r4", "r4#"}, {"2T", "r4#"},
    {"tI", "tI#"}, {"{@", "tI#"},
    {"RO", "RO#"}, {"an", "RO#"},
    {"V>", "V>#"}, {"6N", "V>#"},
}};

}  // namespace

std::optional<std::string_view> alias_group_key(std::string_view reading_key) noexcept {
  if (reading_key.size() != 2) return std::nullopt;
  for (const auto& [member, group] : kMembers) {
    if (member == reading_key) return group;
  }
  return std::nullopt;
}

}  // namespace ferrolune::walker
