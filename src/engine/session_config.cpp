#include "engine/session_config.h"

#include <array>
#include <string_view>

namespace ferrolune::engine {

namespace {

constexpr std::size_t kMaximumKeys = 32;

bool is_key_byte(char byte) noexcept { return byte >= 0x21 && byte <= 0x7E; }

bool keys_in_range(std::string_view keys) noexcept {
  if (keys.empty() || keys.size() > kMaximumKeys) return false;
  for (const char byte : keys) {
    if (!is_key_byte(byte)) return false;
  }
  return true;
}

// Only meaningful on printable ASCII, which keys_in_range has established.
bool keys_unique(std::string_view keys) noexcept {
  std::array<bool, 128> seen{};
  for (const char byte : keys) {
    const auto index = static_cast<unsigned char>(byte) & 0x7Fu;
    if (seen[index]) return false;
    seen[index] = true;
  }
  return true;
}

bool is_wildcard_symbol(const std::optional<std::string>& symbol) noexcept {
  return !symbol || (symbol->size() == 1 && is_key_byte((*symbol)[0]));
}

Result<void> validate_selection_keys(const std::optional<std::string>& keys) {
  if (!keys) return {};
  if (!keys_in_range(*keys)) return fail("selection keys must contain 1..32 printable ASCII keys");
  if (!keys_unique(*keys)) return fail("selection keys must be unique");
  return {};
}

}  // namespace

Result<void> validate_smart_options(const SmartOptions& options) {
  if (options.max_completed_syllables < 10 || options.max_completed_syllables > 20) {
    return fail("smart composition limit must be within 10..20 completed readings");
  }
  if (const auto& keys = options.candidate_selection_keys;
      keys && (!keys_in_range(*keys) || !keys_unique(*keys))) {
    return fail("smart candidate keys must be 1..32 unique printable ASCII keys");
  }
  return {};
}

Result<void> validate_table_options(const TableOptions& options) {
  if (const auto length = options.maximum_radical_length; length && (*length < 1 || *length > 128)) {
    return fail("maximum radical length must be between 1 and 128");
  }
  if (const auto& wildcards = options.wildcards;
      wildcards && (!is_wildcard_symbol(wildcards->one) || !is_wildcard_symbol(wildcards->many))) {
    return fail("wildcard symbols must be printable non-space ASCII");
  }
  return {};
}

Result<void> validate_session_config(const SessionConfig& config) {
  if (auto checked = validate_smart_options(config.smart); !checked) return checked;
  for (const auto* table : {&config.cangjie, &config.simplex}) {
    if (!*table) continue;
    if (auto checked = validate_table_options(**table); !checked) return checked;
  }
  if (auto checked = validate_selection_keys(config.traditional_selection_keys); !checked) {
    return checked;
  }
  return validate_selection_keys(config.table_selection_keys);
}

}  // namespace ferrolune::engine
