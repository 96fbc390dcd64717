#include "dictionary_tables.h"

#include <algorithm>
#include <array>
#include <set>
#include <string_view>
#include <unordered_map>

#include "base/utf8.h"

namespace ferrolune::model_compiler {
namespace {

std::string context_of(const DataFile& file, const DataRecord& record) {
  return file.path.string() + ":" + std::to_string(record.line) + ": ";
}

bool one_character(std::string_view text) {
  std::size_t pos = 0;
  return base::next_scalar(text, pos) && pos == text.size();
}

bool lower_letters(std::string_view text) {
  return !text.empty() && std::ranges::all_of(text, [](char c) { return c >= 'a' && c <= 'z'; });
}

// The key forms the engine looks up in the phonetic table besides readings.
bool known_list_key(std::string_view key) {
  constexpr std::array<std::string_view, 5> layouts = {"Standard", "Hsu", "ETen", "ETen26", "HanyuPinyin"};
  if (key == "_punctuation_list") return true;
  for (const std::string_view prefix : {"_ctrl_opt_", "_ctrl_"}) {
    if (key.starts_with(prefix)) return one_character(key.substr(prefix.size()));
  }
  if (!key.starts_with("_punctuation_")) return false;
  const std::string_view rest = key.substr(std::string_view("_punctuation_").size());
  if (one_character(rest)) return true;
  for (const std::string_view layout : layouts) {
    if (rest.size() > layout.size() + 1 && rest.starts_with(layout) && rest[layout.size()] == '_' &&
        one_character(rest.substr(layout.size() + 1))) {
      return true;
    }
  }
  return false;
}

// Appends every record of a list file: a key and its values, in order.
std::expected<void, std::string> append_lists(const DataFile& file, std::set<std::string>& keys,
                                              std::vector<KeyValueRow>& rows) {
  for (const auto& record : file.records) {
    const std::string& key = record.fields[0];
    if (!known_list_key(key)) return std::unexpected(context_of(file, record) + "unknown key form " + key);
    if (record.fields.size() < 2) return std::unexpected(context_of(file, record) + "key without values");
    if (!keys.insert(key).second) return std::unexpected(context_of(file, record) + "key listed twice");
    for (std::size_t i = 1; i < record.fields.size(); ++i) {
      if (record.fields[i].empty()) return std::unexpected(context_of(file, record) + "empty value");
      rows.push_back({key, record.fields[i]});
    }
  }
  return {};
}

bool usable_selection_keys(std::string_view keys) {
  return !keys.empty() && keys.size() <= 32 &&
         std::ranges::all_of(keys, [](char c) { return c >= 0x20 && c < 0x7F; });
}

std::expected<std::vector<KeyValueRow>, std::string> property_rows(const DataFiles& data) {
  std::vector<KeyValueRow> rows;
  std::set<std::string> radicals;
  for (const auto& record : data.radicals.records) {
    const std::string& key = record.fields[0];
    if (key.size() != 1 || !lower_letters(key) || record.fields.size() != 2 || record.fields[1].empty()) {
      return std::unexpected(context_of(data.radicals, record) + "expected a letter, a tab and its radical");
    }
    if (!radicals.insert(key).second) return std::unexpected(context_of(data.radicals, record) + "letter listed twice");
    rows.push_back({"__property_keyname-" + key, record.fields[1]});
  }
  std::set<std::string> properties;
  for (const auto& record : data.table_properties.records) {
    const std::string& key = record.fields[0];
    const std::string context = context_of(data.table_properties, record);
    if (!key.starts_with("__property_") || record.fields.size() != 2) {
      return std::unexpected(context + "expected a __property_ key, a tab and its value");
    }
    if (!properties.insert(key).second) return std::unexpected(context + "property listed twice");
    if (key == "__property_selkey" && !usable_selection_keys(record.fields[1])) {
      return std::unexpected(context + "selection keys must be 1 to 32 printable ASCII characters");
    }
    rows.push_back({key, record.fields[1]});
  }
  return rows;
}

// Code rows sorted by code, then by corpus count (highest first), then by
// the order the dictionary lists them in.
struct CodeRow {
  std::string code;
  std::string text;
  std::uint64_t count;
  std::size_t order;
};

void append_sorted(std::vector<CodeRow>& codes, std::vector<KeyValueRow>& rows) {
  std::ranges::sort(codes, [](const CodeRow& a, const CodeRow& b) {
    if (a.code != b.code) return a.code < b.code;
    if (a.count != b.count) return a.count > b.count;
    return a.order < b.order;
  });
  for (auto& code : codes) rows.push_back({std::move(code.code), std::move(code.text)});
}

}  // namespace

std::expected<std::vector<KeyValueRow>, std::string> build_phonetic_table(const Lexicon& lexicon,
                                                                          const DataFiles& data) {
  struct Entry {
    const std::string* key;
    const std::string* text;
    double weight;
    std::size_t order;
  };
  std::vector<Entry> entries;
  for (std::size_t i = 0; i < lexicon.characters.size(); ++i) {
    const auto& character = lexicon.characters[i];
    const double count = static_cast<double>(lexicon.count(character.text));
    for (const auto& reading : character.readings) {
      entries.push_back({&reading.qstring, &character.text, count * reading.share, i});
    }
  }
  std::ranges::sort(entries, [](const Entry& a, const Entry& b) {
    if (*a.key != *b.key) return *a.key < *b.key;
    if (a.weight != b.weight) return a.weight > b.weight;
    return a.order < b.order;
  });
  std::vector<KeyValueRow> rows;
  rows.reserve(entries.size());
  for (const auto& entry : entries) rows.push_back({*entry.key, *entry.text});

  std::set<std::string> keys;
  if (auto appended = append_lists(data.punctuation, keys, rows); !appended) return std::unexpected(appended.error());
  if (auto appended = append_lists(data.control_lists, keys, rows); !appended) {
    return std::unexpected(appended.error());
  }
  return rows;
}

std::expected<ShapeTables, std::string> build_shape_tables(const CangjieDictionary& dictionary,
                                                           const Lexicon& lexicon, const DataFiles& data,
                                                           CompileReport& report) {
  auto properties = property_rows(data);
  if (!properties) return std::unexpected(properties.error());

  std::vector<CodeRow> cangjie;
  std::vector<CodeRow> simplex;
  std::set<std::pair<std::string, std::string>> seen_cangjie;
  std::set<std::pair<std::string, std::string>> seen_simplex;
  std::size_t auxiliary = 0;
  for (std::size_t i = 0; i < dictionary.entries.size(); ++i) {
    const auto& entry = dictionary.entries[i];
    if (!lower_letters(entry.code)) {
      report.drop("Cangjie codes with characters other than a to z", entry.text + " " + entry.code);
      continue;
    }
    if (!seen_cangjie.emplace(entry.code, entry.text).second) {
      report.drop("Cangjie codes repeated", entry.text + " " + entry.code);
      continue;
    }
    const std::uint64_t count = lexicon.count(entry.text);
    cangjie.push_back({entry.code, entry.text, count, i});
    if (entry.code.front() == 'x' || entry.code.front() == 'z') {
      ++auxiliary;
      continue;
    }
    std::string code = entry.code.size() == 1 ? entry.code : std::string{entry.code.front(), entry.code.back()};
    if (seen_simplex.emplace(code, entry.text).second) simplex.push_back({std::move(code), entry.text, count, i});
  }
  report.counts["Cangjie auxiliary codes (x, z) without Simplex code"] = auxiliary;

  ShapeTables tables{*properties, *properties};
  append_sorted(cangjie, tables.cangjie);
  append_sorted(simplex, tables.simplex);
  return tables;
}

std::expected<std::vector<KeyValueRow>, std::string> build_punctuation_table(const DataFile& file) {
  std::vector<KeyValueRow> rows;
  std::set<std::string> keys;
  for (const auto& record : file.records) {
    const std::string& key = record.fields[0];
    if (!lower_letters(key) || record.fields.size() < 2) {
      return std::unexpected(context_of(file, record) + "expected a code of letters a to z and its values");
    }
    if (!keys.insert(key).second) return std::unexpected(context_of(file, record) + "code listed twice");
    for (std::size_t i = 1; i < record.fields.size(); ++i) {
      if (record.fields[i].empty()) return std::unexpected(context_of(file, record) + "empty value");
      rows.push_back({key, record.fields[i]});
    }
  }
  return rows;
}

}  // namespace ferrolune::model_compiler
