#include "lexicon.h"

#include <cmath>
#include <map>
#include <optional>
#include <unordered_set>

#include "base/utf8.h"

namespace ferrolune::model_compiler {
namespace {

// The characters of valid UTF-8 text, each as its own bytes.
std::vector<std::string_view> characters_of(std::string_view text) {
  std::vector<std::string_view> out;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t start = pos;
    if (!base::next_scalar(text, pos)) break;
    out.push_back(text.substr(start, pos - start));
  }
  return out;
}

struct RawReading {
  std::string qstring;
  std::optional<double> percent;
};

struct RawCharacter {
  std::string text;
  std::vector<RawReading> readings;
};

// Shares of one character's readings; `usage` is how often the dictionary's
// words read the character with each key.
std::vector<double> shares_of(const RawCharacter& raw, const std::map<std::string, double>* usage) {
  const std::size_t n = raw.readings.size();
  std::vector<double> shares(n, 0.0);
  if (n == 1) {
    shares[0] = 1;
    return shares;
  }
  double given = 0;
  std::size_t without = 0;
  for (const auto& reading : raw.readings) {
    if (reading.percent) given += *reading.percent;
    else ++without;
  }
  if (without == n) {
    double used = 0;
    for (std::size_t i = 0; i < n; ++i) {
      double times = 0;
      if (usage) {
        if (const auto found = usage->find(raw.readings[i].qstring); found != usage->end()) times = found->second;
      }
      shares[i] = times + 1;
      used += times + 1;
    }
    for (double& share : shares) share /= used;
    return shares;
  }
  const double rest = without == 0 ? 0 : std::max(0.0, 100.0 - given) / static_cast<double>(without);
  double sum = 0;
  for (std::size_t i = 0; i < n; ++i) {
    shares[i] = raw.readings[i].percent ? *raw.readings[i].percent : rest;
    sum += shares[i];
  }
  for (double& share : shares) share = sum > 0 ? share / sum : 1.0 / static_cast<double>(n);
  return shares;
}

}  // namespace

std::uint64_t Lexicon::count(std::string_view text) const {
  const auto found = counts_.find(std::string(text));
  return found == counts_.end() ? 0 : found->second;
}

double Lexicon::probability(double weighted_count) const {
  return std::log10(std::max(weighted_count, kFloorCount) / static_cast<double>(total_));
}

const Character* Lexicon::character(std::string_view text) const {
  const auto found = character_index_.find(std::string(text));
  return found == character_index_.end() ? nullptr : &characters[found->second];
}

std::expected<Lexicon, std::string> build_lexicon(const PinyinDictionary& dictionary,
                                                  const FrequencyList& frequencies,
                                                  PinyinConverter& converter, CompileReport& report) {
  Lexicon lexicon;
  std::uint64_t total = 0;
  for (const auto& entry : frequencies.entries) {
    auto [slot, fresh] = lexicon.counts_.emplace(entry.text, 0);
    if (!fresh) report.drop("frequency-list duplicates (counts added)", entry.text);
    slot->second += entry.count;
    total += entry.count;
  }
  if (total == 0) return std::unexpected("the frequency list counts no occurrence at all");
  lexicon.total_ = total;

  // Dictionary entries: characters collect their readings, words their keys.
  std::vector<RawCharacter> raw_characters;
  std::unordered_map<std::string, std::size_t> raw_index;
  std::unordered_set<std::string> word_keys;   // text + '\t' + key
  std::unordered_set<std::string> dictionary_words;
  for (const auto& entry : dictionary.entries) {
    const auto key = converter.qstring(entry.pinyin);
    if (!key) {
      report.unconverted_readings.push_back("line " + std::to_string(entry.line) + ": " + entry.text + " " +
                                            entry.pinyin + ": syllable " + key.error());
      ++report.unconverted_syllables[key.error()];
      continue;
    }
    ++report.readings_converted;
    const auto chars = characters_of(entry.text);
    if (key->size() != 2 * chars.size()) {
      report.drop("dictionary readings whose syllables do not match the characters",
                  entry.text + " " + entry.pinyin);
      continue;
    }
    if (chars.size() == 1) {
      auto [slot, fresh] = raw_index.emplace(entry.text, raw_characters.size());
      if (fresh) raw_characters.push_back({entry.text, {}});
      auto& readings = raw_characters[slot->second].readings;
      bool merged = false;
      for (auto& reading : readings) {
        if (reading.qstring != *key) continue;
        if (reading.percent && entry.share) *reading.percent += *entry.share;
        merged = true;
        report.drop("dictionary character readings repeated (shares added)", entry.text + " " + entry.pinyin);
      }
      if (!merged) readings.push_back({*key, entry.share});
      continue;
    }
    if (chars.size() > kMaximumWordLength) {
      report.drop("dictionary words longer than 8 characters", entry.text);
      continue;
    }
    if (!word_keys.insert(entry.text + '\t' + *key).second) {
      report.drop("dictionary word readings repeated", entry.text + " " + entry.pinyin);
      continue;
    }
    dictionary_words.insert(entry.text);
    lexicon.words.push_back({entry.text, *key, false});
  }
  if (raw_characters.empty()) return std::unexpected("the Pinyin dictionary has no usable character reading");

  // How the dictionary's words read each character, weighted by frequency.
  std::unordered_map<std::string, std::map<std::string, double>> usage;
  for (const auto& word : lexicon.words) {
    const double weight = static_cast<double>(lexicon.count(word.text)) + 1;
    const auto chars = characters_of(word.text);
    for (std::size_t i = 0; i < chars.size(); ++i) {
      usage[std::string(chars[i])][word.qstring.substr(2 * i, 2)] += weight;
    }
  }

  for (const auto& raw : raw_characters) {
    const auto found = usage.find(raw.text);
    const auto shares = shares_of(raw, found == usage.end() ? nullptr : &found->second);
    Character character{raw.text, {}, {}};
    for (std::size_t i = 0; i < shares.size(); ++i) {
      character.readings.push_back({raw.readings[i].qstring, shares[i]});
      if (shares[i] >= kDominantShare) character.dominant = raw.readings[i].qstring;
    }
    lexicon.character_index_.emplace(raw.text, lexicon.characters.size());
    lexicon.characters.push_back(std::move(character));
  }

  // Frequency-list words the dictionary lacks, read from their characters.
  std::unordered_set<std::string> listed;
  std::size_t derived = 0;
  for (const auto& entry : frequencies.entries) {
    if (!listed.insert(entry.text).second || dictionary_words.contains(entry.text)) continue;
    const auto chars = characters_of(entry.text);
    if (chars.size() == 1) {
      if (!lexicon.character(entry.text)) {
        report.drop("frequency-list characters without a dictionary reading", entry.text);
      }
      continue;
    }
    if (chars.size() > kMaximumWordLength) {
      report.drop("frequency-list words longer than 8 characters", entry.text);
      continue;
    }
    std::string key;
    std::string problem;
    for (const auto piece : chars) {
      const Character* character = lexicon.character(piece);
      if (!character) {
        problem = "frequency-list words with a character the dictionary cannot read";
        break;
      }
      if (character->dominant.empty()) {
        problem = "frequency-list words with a character of no dominant reading";
        break;
      }
      key += character->dominant;
    }
    if (!problem.empty()) {
      report.drop(problem, entry.text);
      continue;
    }
    lexicon.words.push_back({entry.text, key, true});
    ++derived;
  }
  report.counts["frequency-list words given derived readings"] = derived;
  report.counts["dictionary characters"] = lexicon.characters.size();
  report.counts["dictionary word readings"] = lexicon.words.size() - derived;
  return lexicon;
}

}  // namespace ferrolune::model_compiler
