// SessionState: everything an input session is, apart from its resources
// (database connections, paths, candidate filter). It is a value: each
// operation copies it, works on the copy and either installs it or throws
// it away, so a failed operation leaves the session exactly as it was.
// The large immutable member (the learned data) is shared, not copied.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/options.h"
#include "bopomofo/composer.h"
#include "bopomofo/layout_kind.h"
#include "userdata/learning_change.h"
#include "userdata/learning_state.h"

namespace ferrolune::engine {

// One entry of an open Smart Mandarin candidate list: a text for a span of
// readings.
struct SmartEntry {
  std::string text;
  std::string qstring;
  std::size_t start = 0;
  std::size_t span = 0;
  friend bool operator==(const SmartEntry&, const SmartEntry&) = default;
};

// A span of readings marked for a user phrase.
struct MarkedPhrase {
  std::size_t reading_start = 0;
  std::size_t reading_span = 0;
  std::size_t text_start = 0;
  std::size_t text_length = 0;
  std::string qstring;
  std::string text;
  friend bool operator==(const MarkedPhrase&, const MarkedPhrase&) = default;
};

// The Smart Mandarin composition: completed readings with a cursor, the
// half-typed syllable, and the marking and candidate state around them.
struct SmartComposition {
  std::vector<std::string> readings;
  std::size_t cursor = 0;
  bopomofo::BopomofoComposer pending;
  std::optional<std::size_t> mark_anchor;
  std::optional<MarkedPhrase> pending_phrase;
  std::vector<SmartEntry> smart_entries;
  friend bool operator==(const SmartComposition&, const SmartComposition&) = default;
};

struct SessionState {
  // Settings.
  InputMethod method = InputMethod::Traditional;
  bopomofo::BopomofoLayout layout = bopomofo::BopomofoLayout::Standard;
  BehaviorProfile profile = BehaviorProfile::Desktop;
  BehaviorOptions behaviors;
  SmartOptions smart_options;
  LearningOptions learning_options;
  std::optional<TableOptions> cangjie_options;
  std::optional<TableOptions> simplex_options;
  std::optional<std::string> traditional_selection_keys;
  std::optional<std::string> table_selection_keys;
  bool english = false;
  bool full_width = false;

  // Composition.
  SmartComposition smart;
  bopomofo::BopomofoComposer traditional;
  std::string table_code;
  std::string display_text;

  // Candidate list.
  std::vector<std::string> candidates;
  std::size_t page = 0;
  std::size_t highlight = 0;
  std::size_t page_size = 1;
  std::optional<std::string> list_preview;
  std::vector<std::string> exact_set;

  // Learning.
  std::shared_ptr<const userdata::LearningState> learning;
  std::vector<userdata::LearningChange> pending_changes;
  bool reload_pending = false;
  // An import writes even when it brings no change: a successful import
  // always counts as one revision of the user data.
  bool write_requested = false;
};

}  // namespace ferrolune::engine
