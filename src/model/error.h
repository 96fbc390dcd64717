// The error values of the engine. Inside the engine a failure is a value,
// never an exception: either a plain message (validation, an operation that
// does not apply) or a ModelError from a storage layer. The call frame alone
// turns them into status codes and last-error texts.
#pragma once

#include <expected>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

namespace ferrolune::model {

enum class ModelErrorKind { InvalidInput, OpenFailed, InvalidSchema, QueryFailed, InvalidData };

// The leading words of a kind: "invalid input", "could not open model",
// "invalid model schema", "model query failed", "invalid model data".
std::string_view leading_words(ModelErrorKind kind) noexcept;

// The error of the model and user-database layers: a kind and a detail.
struct ModelError {
  ModelErrorKind kind;
  std::string detail;

  // The reported text: the kind's leading words, ": ", the detail.
  std::string message() const;
  friend bool operator==(const ModelError&, const ModelError&) = default;
};

// What the storage layers return: a value or a ModelError.
template <class T>
using ModelResult = std::expected<T, ModelError>;

inline std::unexpected<ModelError> model_failure(ModelErrorKind kind, std::string detail) {
  return std::unexpected<ModelError>(ModelError{kind, std::move(detail)});
}

}  // namespace ferrolune::model

namespace ferrolune {

// A plain message: reported unchanged with status 1.
struct PlainError {
  std::string message;
  friend bool operator==(const PlainError&, const PlainError&) = default;
};

// Either kind of engine failure.
struct Error {
  std::variant<PlainError, model::ModelError> value;

  Error(PlainError plain) : value(std::move(plain)) {}        // NOLINT: implicit by design
  Error(model::ModelError model) : value(std::move(model)) {}  // NOLINT: implicit by design

  // The text the caller sees: the plain message, or the ModelError's message.
  std::string message() const;
  const model::ModelError* model_error() const noexcept { return std::get_if<model::ModelError>(&value); }
  friend bool operator==(const Error&, const Error&) = default;
};

template <class T>
using Result = std::expected<T, Error>;

// Shorthands for building failures.
inline std::unexpected<Error> fail(std::string message) {
  return std::unexpected<Error>(PlainError{std::move(message)});
}
inline std::unexpected<Error> fail(model::ModelErrorKind kind, std::string detail) {
  return std::unexpected<Error>(model::ModelError{kind, std::move(detail)});
}

}  // namespace ferrolune
