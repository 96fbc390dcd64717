#include "key_translation.h"

#include <gtest/gtest.h>

#include <string>

#include "engine_request.h"

namespace ferrolune::frontend {
namespace {

struct KeyCase {
  unsigned keysym;
  unsigned state;
  const char* request;  // null: the key is left to the application
};

constexpr const char* kPlain = R"("modifiers":{"shift":false,"control":false})";

std::string key(const char* name, const char* modifiers = kPlain) {
  return std::string(R"({"type":"key","key":")") + name + "\"," + modifiers + "}";
}

TEST(KeyTranslation, KeysymsBecomeOperations) {
  const std::string backspace = key("backspace");
  const std::string tab = key("tab");
  const std::string enter = key("return");
  const std::string page_up = key("page_up");
  const std::string space = key("space");
  const std::string shifted_left = key("left", R"("modifiers":{"shift":true,"control":false})");
  const std::string control_delete = key("delete", R"("modifiers":{"shift":false,"control":true})");
  const KeyCase cases[] = {
      {0xFF08, 0, backspace.c_str()},
      {0xFE20, 0, tab.c_str()},
      {0xFF8D, 0, enter.c_str()},
      {0xFF9A, 16, page_up.c_str()},  // a keypad named key never says keypad
      {0xFF80, 0, space.c_str()},
      {0x20, 0, space.c_str()},
      {0xFF51, 1, shifted_left.c_str()},
      {0xFF9F, 4, control_delete.c_str()},
      {0xFFB5, 16,
       R"({"type":"character","text":"5","modifiers":{"shift":false,"control":false,"keypad":true,"num_lock":true}})"},
      {0xFFAF, 0,
       R"({"type":"character","text":"/","modifiers":{"shift":false,"control":false,"keypad":true,"num_lock":false}})"},
      {0x41, 1, R"({"type":"character","text":"A","modifiers":{"shift":true,"control":false}})"},
      {0x22, 0, R"({"type":"character","text":"\"","modifiers":{"shift":false,"control":false}})"},
      {0x7E, 0, R"({"type":"character","text":"~","modifiers":{"shift":false,"control":false}})"},
      {0x7F, 0, nullptr},       // DEL is not a printable character
      {0xE9, 0, nullptr},       // Latin-1 letter
      {0xFFBE, 0, nullptr},     // F1
      {0x1000041, 0, nullptr},  // Unicode keysym
      {0xFFAC, 0, nullptr},     // KP_Separator is not in the table
  };
  for (const KeyCase& c : cases) {
    json_object* request = translate_key(c.keysym, c.state);
    if (c.request == nullptr) {
      EXPECT_EQ(request, nullptr) << std::hex << c.keysym;
      if (request != nullptr) json_object_put(request);
      continue;
    }
    ASSERT_NE(request, nullptr) << std::hex << c.keysym;
    EXPECT_EQ(request_text(request), c.request) << std::hex << c.keysym;
    json_object_put(request);
  }
}

}  // namespace
}  // namespace ferrolune::frontend
