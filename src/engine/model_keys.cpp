#include "engine/model_keys.h"

namespace ferrolune::engine {

namespace {

// The spelling of each layout inside its punctuation keys; the model was
// built with these names, which differ from the configuration's.
constexpr std::string_view kLayoutKeyNames[] = {"Standard", "Hsu", "ETen", "ETen26", "HanyuPinyin"};

}  // namespace

std::string layout_punctuation_key(bopomofo::BopomofoLayout layout, std::string_view character) {
  std::string key = "_punctuation_";
  key += kLayoutKeyNames[static_cast<std::size_t>(layout)];
  key += '_';
  key += character;
  return key;
}

std::string general_punctuation_key(std::string_view character) {
  return "_punctuation_" + std::string(character);
}

std::string control_list_key(std::string_view character, bool alt) {
  if (alt) return "_ctrl_opt_" + std::string(character);
  if (character == "0" || character == "1") return std::string(kPunctuationListKey);
  return "_ctrl_" + std::string(character);
}

}  // namespace ferrolune::engine
