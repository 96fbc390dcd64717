// Readers of the three open dictionary files the model is built from:
//   terra_pinyin.dict.yaml  characters and words with tone-numbered Pinyin,
//                           characters with the share of each reading;
//   essay.txt               words with their frequency in a corpus;
//   cangjie5.dict.yaml      characters with their Cangjie codes.
//
// The readers check structure only: a file that cannot be read, is not
// UTF-8, lacks the end of its YAML header ("...") or has a line whose
// columns are missing or malformed is refused with the file, the line and
// the reason. Whether a reading or a code is usable is decided later, where
// unusable rows are counted and reported.
#pragma once

#include <cstddef>
#include <cstdint>
#include <expected>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace ferrolune::model_compiler {

struct PinyinEntry {
  std::string text;              // one character or a word
  std::string pinyin;            // syllables separated by single blanks, e.g. "wo3 men5"
  std::optional<double> share;   // the reading's share in percent, when given
  std::size_t line = 0;
};

struct PinyinDictionary {
  std::string version;              // the header's version, or empty
  std::vector<PinyinEntry> entries;  // in file order
};

struct FrequencyEntry {
  std::string text;
  std::uint64_t count = 0;
};

struct FrequencyList {
  std::vector<FrequencyEntry> entries;  // in file order
};

struct CangjieEntry {
  std::string text;
  std::string code;
  std::size_t line = 0;
};

struct CangjieDictionary {
  std::string version;
  std::vector<CangjieEntry> entries;  // in file order
};

std::expected<PinyinDictionary, std::string> read_pinyin_dictionary(const std::filesystem::path& path);
std::expected<FrequencyList, std::string> read_frequency_list(const std::filesystem::path& path);
std::expected<CangjieDictionary, std::string> read_cangjie_dictionary(const std::filesystem::path& path);

}  // namespace ferrolune::model_compiler
