#include "key_translation.h"


namespace ferrolune::frontend {

namespace {

const char* named_key(unsigned keysym) {
  switch (keysym) {
    case 0xFF08: return "backspace";
    case 0xFF09: case 0xFE20: return "tab";
    case 0xFF0D: case 0xFF8D: return "return";
    case 0xFF1B: return "escape";
    case 0xFF50: case 0xFF95: return "home";
    case 0xFF51: case 0xFF96: return "left";
    case 0xFF52: case 0xFF97: return "up";
    case 0xFF53: case 0xFF98: return "right";
    case 0xFF54: case 0xFF99: return "down";
    case 0xFF55: case 0xFF9A: return "page_up";
    case 0xFF56: case 0xFF9B: return "page_down";
    case 0xFF57: case 0xFF9C: return "end";
    case 0x20: case 0xFF80: return "space";
    case 0xFFFF: case 0xFF9F: return "delete";
    default: return nullptr;
  }
}

char keypad_character(unsigned keysym) {
  if (keysym >= 0xFFB0 && keysym <= 0xFFB9) return static_cast<char>('0' + (keysym - 0xFFB0));
  switch (keysym) {
    case 0xFFAA: return '*';
    case 0xFFAB: return '+';
    case 0xFFAD: return '-';
    case 0xFFAE: return '.';
    case 0xFFAF: return '/';
    default: return '\0';
  }
}

}  // namespace

json_object* translate_key(unsigned keysym, unsigned state) {
  json_object* request = json_object_new_object();
  bool keypad = false;
  if (const char* key = named_key(keysym)) {
    json_object_object_add(request, "type", json_object_new_string("key"));
    json_object_object_add(request, "key", json_object_new_string(key));
  } else {
    char character = keypad_character(keysym);
    keypad = character != '\0';
    if (!keypad && keysym >= 0x21 && keysym <= 0x7E) character = static_cast<char>(keysym);
    if (character == '\0') {
      json_object_put(request);
      return nullptr;
    }
    json_object_object_add(request, "type", json_object_new_string("character"));
    json_object_object_add(request, "text", json_object_new_string_len(&character, 1));
  }
  json_object* modifiers = json_object_new_object();
  json_object_object_add(modifiers, "shift", json_object_new_boolean((state & kShiftMask) != 0));
  json_object_object_add(modifiers, "control", json_object_new_boolean((state & kControlMask) != 0));
  if (keypad) {
    json_object_object_add(modifiers, "keypad", json_object_new_boolean(1));
    json_object_object_add(modifiers, "num_lock", json_object_new_boolean((state & kMod2Mask) != 0));
  }
  json_object_object_add(request, "modifiers", modifiers);
  return request;
}

}  // namespace ferrolune::frontend
