#include "key_sequence.h"

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <algorithm>
#include <array>

namespace ferrolune::cli {
namespace {

constexpr std::array<std::string_view, 15> kKeyNames = {
    "space", "enter", "return", "backspace", "escape", "delete", "tab", "left",
    "right", "up",    "down",   "home",      "end",    "page_up", "page_down",
};

struct Modifier {
  std::string_view spelling;
  const char* member;
};
constexpr std::array<Modifier, 7> kModifiers = {{
    {"shift", "shift"},
    {"ctrl", "control"},
    {"control", "control"},
    {"alt", "alt"},
    {"command", "command"},
    {"caps_lock", "caps_lock"},
    {"keypad", "keypad"},
}};

std::size_t character_length(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text.front());
  const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
  return std::min(length, text.size());
}

// {"type":"character","text":...} or {"type":"key","key":...}, with the
// modifiers given.
std::string operation(bool named, std::string_view value, const std::vector<const char*>& modifiers) {
  rapidjson::StringBuffer buffer;
  rapidjson::Writer<rapidjson::StringBuffer> writer(buffer);
  writer.StartObject();
  writer.Key("type");
  writer.String(named ? "key" : "character");
  writer.Key(named ? "key" : "text");
  writer.String(value.data(), static_cast<rapidjson::SizeType>(value.size()));
  if (!modifiers.empty()) {
    writer.Key("modifiers");
    writer.StartObject();
    for (const char* member : modifiers) {
      writer.Key(member);
      writer.Bool(true);
    }
    writer.EndObject();
  }
  writer.EndObject();
  return buffer.GetString();
}

std::expected<std::string, std::string> braced(std::string_view inside) {
  std::vector<const char*> modifiers;
  std::string_view rest = inside;
  for (std::size_t plus; rest.size() > 1 && (plus = rest.find('+')) != std::string_view::npos;) {
    const std::string_view name = rest.substr(0, plus);
    const auto modifier = std::ranges::find(kModifiers, name, &Modifier::spelling);
    if (modifier == kModifiers.end()) return std::unexpected("unknown modifier \"" + std::string(name) + "\"");
    modifiers.push_back(modifier->member);
    rest = rest.substr(plus + 1);
  }
  if (rest.empty()) return std::unexpected("empty key name in {" + std::string(inside) + "}");
  if (std::ranges::find(kKeyNames, rest) != kKeyNames.end()) return operation(true, rest, modifiers);
  if (character_length(rest) == rest.size()) return operation(false, rest, modifiers);
  return std::unexpected("unknown key name \"" + std::string(rest) + "\"");
}

}  // namespace

std::expected<std::vector<std::string>, std::string> key_operations(std::string_view keys) {
  std::vector<std::string> operations;
  for (std::size_t i = 0; i < keys.size();) {
    if (keys.compare(i, 2, "{{") == 0 || keys.compare(i, 2, "}}") == 0) {
      operations.push_back(operation(false, keys.substr(i, 1), {}));
      i += 2;
    } else if (keys[i] == '{') {
      const std::size_t close = keys.find('}', i + 1);
      if (close == std::string_view::npos) return std::unexpected("unclosed { in the keys");
      auto document = braced(keys.substr(i + 1, close - i - 1));
      if (!document) return std::unexpected(document.error());
      operations.push_back(std::move(*document));
      i = close + 1;
    } else if (keys[i] == '}') {
      return std::unexpected("a lone } in the keys (write }} for the character)");
    } else {
      const std::size_t length = character_length(keys.substr(i));
      operations.push_back(operation(false, keys.substr(i, length), {}));
      i += length;
    }
  }
  return operations;
}

}  // namespace ferrolune::cli
