#include "engine.h"

#include <vector>

namespace ferrolune::cli {
namespace {

std::string last_error() {
  std::uint64_t required = 0;
  if (ferrolune_last_error(nullptr, 0, &required) != FERROLUNE_BUFFER_TOO_SMALL || required == 0) {
    return "unknown engine error";
  }
  std::vector<char> buffer(required);
  if (ferrolune_last_error(buffer.data(), buffer.size(), &required) != FERROLUNE_OK) return "unknown engine error";
  return std::string(buffer.data());
}

}  // namespace

Answer answer_of(std::int32_t status, ferrolune_result* result) {
  if (status != FERROLUNE_OK) return std::unexpected(last_error());
  std::uint64_t required = 0;
  ferrolune_result_read(result, nullptr, 0, &required);
  std::vector<char> buffer(required == 0 ? 1 : required);
  const std::int32_t read = ferrolune_result_read(result, buffer.data(), buffer.size(), &required);
  Answer answer = read == FERROLUNE_OK ? Answer(std::string(buffer.data())) : std::unexpected(last_error());
  ferrolune_result_free(&result);
  return answer;
}

std::expected<Session, std::string> Session::open(std::string_view model, std::string_view config) {
  ferrolune_session* handle = nullptr;
  if (ferrolune_session_new(model.data(), model.size(), config.data(), config.size(), &handle) != FERROLUNE_OK) {
    return std::unexpected(last_error());
  }
  return Session(handle);
}

Answer Session::input(std::string_view operation) {
  ferrolune_result* result = nullptr;
  const std::int32_t status = ferrolune_session_input(handle_, operation.data(), operation.size(), &result);
  return answer_of(status, result);
}

std::expected<Database, std::string> Database::open(std::string_view model) {
  ferrolune_database* handle = nullptr;
  if (ferrolune_database_open(model.data(), model.size(), &handle) != FERROLUNE_OK) {
    return std::unexpected(last_error());
  }
  return Database(handle);
}

Answer Database::query(std::uint32_t kind, std::string_view key) {
  ferrolune_result* result = nullptr;
  const std::int32_t status = ferrolune_model_query(handle_, kind, key.data(), key.size(), &result);
  return answer_of(status, result);
}

Answer Database::collections(std::string_view request) {
  ferrolune_result* result = nullptr;
  const std::int32_t status = ferrolune_associated_collections(handle_, request.data(), request.size(), &result);
  return answer_of(status, result);
}

Answer Database::phrases(std::string_view request) {
  ferrolune_result* result = nullptr;
  const std::int32_t status = ferrolune_associated_phrases(handle_, request.data(), request.size(), &result);
  return answer_of(status, result);
}

Answer reading_codec(std::string_view request) {
  ferrolune_result* result = nullptr;
  const std::int32_t status = ferrolune_reading_codec(request.data(), request.size(), &result);
  return answer_of(status, result);
}

}  // namespace ferrolune::cli
