#include "base/options.h"

namespace ferrolune {

const char* method_name(InputMethod method) noexcept {
  static constexpr const char* names[] = {"traditional", "smart", "cangjie", "simplex"};
  return names[static_cast<int>(method)];
}

const char* profile_name(BehaviorProfile profile) noexcept {
  return profile == BehaviorProfile::Touch ? "touch" : "desktop";
}

const char* punctuation_name(PunctuationStyle style) noexcept {
  static constexpr const char* names[] = {"original", "mixed", "half"};
  return names[static_cast<int>(style)];
}

}  // namespace ferrolune
