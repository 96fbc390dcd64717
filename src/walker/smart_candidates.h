// What the user sees and corrects on top of the lattice: the composed
// text and where a reading cursor falls in it, the candidates for a
// reading position, pinning a chosen candidate (and the learning it
// queues: a candidate override and a learned word pair), and the phrase
// between a marking anchor and the cursor.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "walker/smart_converter.h"

namespace ferrolune::walker {

struct CandidateEntry {
  std::string text;
  std::string reading_key;  // the node's key, possibly an alias key
  std::size_t reading_start = 0;
  std::size_t reading_span = 0;
  friend bool operator==(const CandidateEntry&, const CandidateEntry&) = default;
};

struct MarkedPhrase {
  std::string reading_key;  // the marked readings' keys concatenated
  std::string text;         // the composed text showing them
  std::size_t reading_start = 0;
  std::size_t reading_count = 0;
  std::size_t text_start = 0;   // in characters
  std::size_t text_length = 0;  // in characters
  friend bool operator==(const MarkedPhrase&, const MarkedPhrase&) = default;
};

// The segments' texts concatenated.
std::string composed_text(const SmartConverter& converter);

// Characters of the composed text before reading cursor `cursor`. A cursor
// inside a word counts as many of its characters as readings precede the
// cursor, never more than the word has.
std::size_t text_offset(const SmartConverter& converter, std::size_t cursor);

// The candidates for reading `position`: at_end false lists the words
// covering that reading, at_end true the words ending just before it;
// longer spans first, each text once. Empty past the readings.
std::vector<CandidateEntry> candidate_entries(const SmartConverter& converter,
                                              std::size_t position, bool at_end);

// Locks the entry's node to its text (releasing the locks over its first
// reading) and walks; queues the learning of the choice. False, with
// nothing changed, when the entry no longer matches a node.
bool pin_entry(SmartConverter& converter, const CandidateEntry& entry);

// The phrase between the anchor and the cursor (either order), or nothing
// when they meet.
std::optional<MarkedPhrase> marked_phrase(const SmartConverter& converter, std::size_t anchor,
                                          std::size_t cursor);

}  // namespace ferrolune::walker
