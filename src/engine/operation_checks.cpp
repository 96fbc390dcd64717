#include "engine/operation_checks.h"

#include "base/utf8.h"
#include "engine/session_config.h"

namespace ferrolune::engine {

namespace {

bool is_control(char32_t scalar) {
  return scalar <= 0x1F || (scalar >= 0x7F && scalar <= 0x9F);
}

}  // namespace

Result<void> check_input_operation(const InputOperation& operation) {
  if (const auto* character = std::get_if<op::Character>(&operation)) {
    std::size_t pos = 0;
    const auto scalar = base::next_scalar(character->text, pos);
    if (!scalar || pos != character->text.size() || is_control(*scalar)) {
      return fail("character text must be one non-control Unicode scalar");
    }
  } else if (const auto* direct = std::get_if<op::DirectText>(&operation)) {
    if (direct->text.empty() || direct->text.find('\0') != std::string::npos) {
      return fail("direct text must be nonempty without NUL");
    }
  } else if (const auto* table = std::get_if<op::SetTableOptions>(&operation)) {
    if (auto valid = validate_table_options(table->options); !valid) return valid;
    if (table->method != InputMethod::Cangjie && table->method != InputMethod::Simplex) {
      return fail("table options require Cangjie or Simplex");
    }
  } else if (const auto* smart = std::get_if<op::SetSmartOptions>(&operation)) {
    return validate_smart_options(smart->options);
  }
  return {};
}

}  // namespace ferrolune::engine
