#include "walker/smart_candidates.h"

#include <algorithm>
#include <string_view>

#include "base/utf8.h"

namespace ferrolune::walker {

namespace {

constexpr std::string_view kUnlearnedPrefixes[] = {"_punctuation_", "_passthru_", "_ctrl_"};

// Bopomofo letters and tone marks are readings, not words worth learning.
bool has_bopomofo(std::string_view text) {
  std::size_t pos = 0;
  while (auto scalar = base::next_scalar(text, pos)) {
    const char32_t c = *scalar;
    if ((c >= U'\u3105' && c <= U'\u3129') || c == U'\u02C7' || c == U'\u02CA' || c == U'\u02CB' ||
        c == U'\u02D9') {
      return true;
    }
  }
  return false;
}

// The first `count` characters of `text`, as bytes.
std::size_t prefix_bytes(std::string_view text, std::size_t count) {
  std::size_t pos = 0;
  for (std::size_t i = 0; i < count; ++i) {
    if (!base::next_scalar(text, pos)) break;
  }
  return pos;
}

}  // namespace

std::string composed_text(const SmartConverter& converter) {
  std::string text;
  for (const auto& segment : converter.segments()) text += segment.text;
  return text;
}

std::size_t text_offset(const SmartConverter& converter, std::size_t cursor) {
  std::size_t offset = 0;
  for (const auto& segment : converter.segments()) {
    if (segment.start >= cursor) break;
    const std::size_t characters = base::scalar_count(segment.text);
    if (segment.start + segment.span <= cursor) {
      offset += characters;
    } else {
      offset += std::min(characters, cursor - segment.start);
      break;
    }
  }
  return offset;
}

std::vector<CandidateEntry> candidate_entries(const SmartConverter& converter,
                                              std::size_t position, bool at_end) {
  const std::size_t n = converter.readings().size();
  if (position > n || (position == n && !at_end)) return {};
  std::vector<const LatticeNode*> selected;
  for (const auto& node : converter.nodes()) {
    // Nodes starting at the start marker or reaching the end marker are
    // not words of the readings.
    if (node.start == 0 || node.end() > n + 1) continue;
    const bool wanted = at_end ? node.end() == position + 1
                               : node.start <= position + 1 && position + 1 < node.end();
    if (wanted) selected.push_back(&node);
  }
  std::stable_sort(selected.begin(), selected.end(),
                   [](const LatticeNode* a, const LatticeNode* b) { return a->span > b->span; });
  std::vector<CandidateEntry> entries;
  for (const LatticeNode* node : selected) {
    if (!node->words) continue;
    for (const auto& row : node->words->rows) {
      const bool seen = std::any_of(entries.begin(), entries.end(),
                                    [&](const auto& entry) { return entry.text == row.current; });
      if (!seen) entries.push_back(CandidateEntry{row.current, node->key, node->start - 1, node->span});
    }
  }
  return entries;
}

bool pin_entry(SmartConverter& converter, const CandidateEntry& entry) {
  const std::size_t start = entry.reading_start + 1;
  const auto& nodes = converter.nodes();
  std::size_t found = nodes.size();
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    const auto& node = nodes[i];
    if (node.start == start && node.span == entry.reading_span && node.key == entry.reading_key &&
        node.words && node.words->contains(entry.text)) {
      found = i;
      break;
    }
  }
  if (found == nodes.size()) return false;
  const std::string first_word = nodes[found].words->rows.front().current;

  for (std::size_t i = 0; i < nodes.size(); ++i) {
    if (nodes[i].start <= start && start < nodes[i].end()) converter.set_lock(i, std::nullopt);
  }
  converter.set_lock(found, entry.text);
  converter.walk();

  const bool unlearned =
      std::any_of(std::begin(kUnlearnedPrefixes), std::end(kUnlearnedPrefixes),
                  [&](std::string_view prefix) { return entry.reading_key.starts_with(prefix); });
  if (unlearned) return true;

  auto& lm = converter.language_model();
  const auto switches = lm.switches();
  if (switches.candidate_overrides && !has_bopomofo(entry.text)) {
    if (entry.text == first_word) {
      if (lm.remove_override(entry.reading_key)) {
        converter.queue_learning(userdata::change::OverrideSet{entry.reading_key, std::nullopt});
      }
    } else {
      lm.set_override(entry.reading_key, entry.text);
      converter.queue_learning(userdata::change::OverrideSet{entry.reading_key, entry.text});
    }
  }
  if (switches.bigrams && converter.use_bigrams()) {
    for (const auto& step : converter.path()) {
      const auto& node = converter.nodes()[step.node];
      if (node.end() != start) continue;
      if (node.start != 0) {
        model::Bigram bigram{node.key + " " + entry.reading_key, step.word, entry.text,
                             lm.max_unigram_probability()};
        lm.set_learned_bigram(bigram);
        converter.queue_learning(userdata::change::BigramSet{std::move(bigram)});
      }
      break;
    }
  }
  return true;
}

std::optional<MarkedPhrase> marked_phrase(const SmartConverter& converter, std::size_t anchor,
                                          std::size_t cursor) {
  const auto& readings = converter.readings();
  const std::size_t n = readings.size();
  const std::size_t lo = std::min({anchor, cursor, n});
  const std::size_t hi = std::min(std::max(anchor, cursor), n);
  if (lo == hi) return std::nullopt;
  MarkedPhrase phrase;
  for (std::size_t r = lo; r < hi; ++r) phrase.reading_key += readings[r];
  phrase.reading_start = lo;
  phrase.reading_count = hi - lo;
  const std::size_t d = text_offset(converter, lo);
  const std::size_t e = text_offset(converter, hi);
  phrase.text_start = d;
  phrase.text_length = e > d ? e - d : 0;
  const std::string text = composed_text(converter);
  const std::size_t from = prefix_bytes(text, d);
  const std::size_t to = prefix_bytes(text, d + phrase.text_length);
  phrase.text = text.substr(from, to - from);
  return phrase;
}

}  // namespace ferrolune::walker
