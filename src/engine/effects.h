// Effects: what one operation asks of the caller (text to commit, whether
// the key was consumed, a warning beep, and the touch-profile actions).
#pragma once

#include <optional>
#include <string>

namespace ferrolune::engine {

// The result of turning a marked phrase into a user phrase.
struct PhraseFeedback {
  std::string text;
  bool added = false;
  friend bool operator==(const PhraseFeedback&, const PhraseFeedback&) = default;
};

struct Effects {
  std::string commit;
  bool handled = true;
  bool beep = false;
  bool delete_backward = false;
  bool send_return = false;
  bool discard_composition = false;
  std::optional<PhraseFeedback> phrase_feedback;
  friend bool operator==(const Effects&, const Effects&) = default;
};

// The effects a snapshot reports: nothing committed, every flag false.
inline Effects snapshot_effects() {
  Effects effects;
  effects.handled = false;
  return effects;
}

}  // namespace ferrolune::engine
