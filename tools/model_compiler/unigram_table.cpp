#include "unigram_table.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#include <optional>
#include <unordered_map>

#include "base/utf8.h"
#include "polyphone_groups.h"

namespace ferrolune::model_compiler {
namespace {

std::optional<double> parse_number(const std::string& text) {
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::expected<UnigramRow, std::string> default_row(const DataFile& file) {
  std::map<std::string, std::string> fields;
  for (const auto& record : file.records) {
    const std::string context = file.path.string() + ":" + std::to_string(record.line) + ": ";
    if (record.fields.size() != 2) return std::unexpected(context + "expected a field name, a tab and a value");
    if (!fields.emplace(record.fields[0], record.fields[1]).second) {
      return std::unexpected(context + "field listed twice");
    }
  }
  UnigramRow row{"*", {}, 0, 0};
  for (const auto& [name, value] : fields) {
    if (name == "current") {
      row.current = value;
    } else if (name == "probability" || name == "backoff") {
      const auto number = parse_number(value);
      if (!number) return std::unexpected(file.path.string() + ": " + name + " must be a finite number");
      (name == "probability" ? row.probability : row.backoff) = *number;
    } else {
      return std::unexpected(file.path.string() + ": unknown field " + name);
    }
  }
  if (!fields.contains("probability") || !fields.contains("backoff")) {
    return std::unexpected(file.path.string() + ": needs probability and backoff");
  }
  return row;
}

std::string first_character(std::string_view text) {
  std::size_t pos = 0;
  base::next_scalar(text, pos);
  return std::string(text.substr(0, pos));
}

// Which groups' alias rows a character's words get: the groups of which it
// has at least two readings (or the one reading of a single-member group).
std::map<std::string, const PolyphoneGroup*> polyphone_characters(const Lexicon& lexicon,
                                                                  const std::vector<PolyphoneGroup>& groups) {
  std::map<std::string, const PolyphoneGroup*> members;  // "character\tkey" -> group
  for (const auto& character : lexicon.characters) {
    for (const auto& group : groups) {
      std::size_t held = 0;
      for (const auto& reading : character.readings) {
        held += static_cast<std::size_t>(std::ranges::count(group.members, reading.qstring));
      }
      if (held < std::min<std::size_t>(2, group.members.size())) continue;
      for (const auto& member : group.members) members.emplace(character.text + '\t' + member, &group);
    }
  }
  return members;
}

}  // namespace

std::expected<std::vector<UnigramRow>, std::string> build_unigrams(const Lexicon& lexicon,
                                                                   const DataFile& default_unigram,
                                                                   CompileReport& report) {
  auto fallback = default_row(default_unigram);
  if (!fallback) return std::unexpected(fallback.error());

  // (qstring, current) -> best probability; insertion order does not
  // matter because the rows are sorted completely below.
  std::unordered_map<std::string, std::size_t> index;
  std::vector<UnigramRow> rows;
  const auto add = [&](const std::string& qstring, const std::string& current, double probability) {
    auto [slot, fresh] = index.emplace(qstring + '\t' + current, rows.size());
    if (fresh) {
      rows.push_back({qstring, current, probability, 0.0});
    } else {
      rows[slot->second].probability = std::max(rows[slot->second].probability, probability);
    }
  };

  for (const auto& character : lexicon.characters) {
    const double count = static_cast<double>(lexicon.count(character.text));
    for (const auto& reading : character.readings) {
      add(reading.qstring, character.text, lexicon.probability(count * reading.share));
    }
  }
  for (const auto& word : lexicon.words) {
    add(word.qstring, word.text, lexicon.probability(static_cast<double>(lexicon.count(word.text))));
  }

  const auto groups = polyphone_groups();
  const auto polyphones = polyphone_characters(lexicon, groups);
  const std::size_t plain_rows = rows.size();
  for (std::size_t i = 0; i < plain_rows; ++i) {
    const UnigramRow row = rows[i];
    const auto found = polyphones.find(first_character(row.current) + '\t' + row.qstring.substr(0, 2));
    if (found == polyphones.end()) continue;
    add(found->second->key + row.qstring.substr(2), row.current, row.probability);
  }
  report.counts["polyphone alias rows"] = rows.size() - plain_rows;

  rows.push_back(*fallback);
  std::ranges::sort(rows, [](const UnigramRow& a, const UnigramRow& b) {
    if (a.qstring != b.qstring) return a.qstring < b.qstring;
    if (a.probability != b.probability) return a.probability > b.probability;
    return a.current < b.current;
  });
  return rows;
}

}  // namespace ferrolune::model_compiler
