#include "model/error.h"

namespace ferrolune::model {

std::string_view leading_words(ModelErrorKind kind) noexcept {
  switch (kind) {
    case ModelErrorKind::InvalidInput: return "invalid input";
    case ModelErrorKind::OpenFailed: return "could not open model";
    case ModelErrorKind::InvalidSchema: return "invalid model schema";
    case ModelErrorKind::QueryFailed: return "model query failed";
    case ModelErrorKind::InvalidData: return "invalid model data";
  }
  return "invalid input";
}

std::string ModelError::message() const {
  std::string text(leading_words(kind));
  text += ": ";
  text += detail;
  return text;
}

}  // namespace ferrolune::model

namespace ferrolune {

std::string Error::message() const {
  if (const auto* plain = std::get_if<PlainError>(&value)) return plain->message;
  return std::get<model::ModelError>(value).message();
}

}  // namespace ferrolune
