#include "polyphone_groups.h"

#include <array>
#include <string_view>

#include "bopomofo/reading_codec.h"

namespace ferrolune::model_compiler {
namespace {

// Each group's members in the engine's order; the first names the group.
constexpr std::array<std::string_view, 21> kGroups = {
    "ㄧ,ㄧˋ,ㄧˊ",   "ㄅㄨˋ,ㄅㄨˊ",   "ㄕˊ,ㄕㄜˊ,ㄕㄣˊ", "ㄜˋ",          "ㄛˊ,ㄜˊ",
    "ㄍㄜˋ,ㄍㄜ˙",  "ㄇㄣˊ,ㄇㄣ˙",   "ㄉㄠˇ,ㄉㄠˋ",     "ㄇㄛ˙,ㄇㄜ˙",  "ㄌㄧ,ㄌㄧˇ",
    "ㄋㄚˇ,ㄋㄟˇ",  "ㄇㄚˊ,ㄇㄚ˙",   "ㄏㄨㄚ,ㄏㄨㄚˊ",  "ㄨˋ,ㄜˇ",      "ㄡˋ,ㄩˇ",
    "ㄏㄜˋ,ㄒㄧㄚˋ", "ㄋㄜ,ㄋㄧˊ",    "ㄌㄧㄝ,ㄌㄧㄝˇ",  "ㄗㄢˊ,ㄗㄚˊ",  "ㄗˇ,ㄗ˙",
    "ㄦ,ㄦˊ",
};

}  // namespace

std::vector<PolyphoneGroup> polyphone_groups() {
  std::vector<PolyphoneGroup> groups;
  for (const std::string_view members : kGroups) {
    const auto encoded = bopomofo::encode_reading(members);
    if (!encoded) continue;  // the tests pin every group key, so a typo here shows
    PolyphoneGroup group;
    for (std::size_t i = 0; i + 1 < encoded->qstring.size(); i += 2) {
      group.members.push_back(encoded->qstring.substr(i, 2));
    }
    group.key = group.members.front() + "#";
    groups.push_back(std::move(group));
  }
  return groups;
}

}  // namespace ferrolune::model_compiler
