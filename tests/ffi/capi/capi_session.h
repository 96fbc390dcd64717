// A session owned by a test, driven through the public interface, and a
// reader for single members of the compact answer documents.
#pragma once

#include <cstddef>
#include <string>

#include "capi_support.h"
#include "ferrolune.h"

namespace ferrolune::capi {

class Session {
 public:
  Session(const std::string& model, const std::string& config, ferrolune_candidate_filter filter = nullptr,
          void* context = nullptr) {
    status_ = ferrolune_session_new_filtered(model.data(), model.size(), config.data(), config.size(), filter,
                                             context, &session_);
  }
  ~Session() { ferrolune_session_free(&session_); }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  int32_t status() const { return status_; }
  ferrolune_session* get() { return session_; }
  // Frees the session now; the destructor then has nothing left to free.
  void free() { ferrolune_session_free(&session_); }

  // The answer document of one operation; on failure the status and the
  // last error instead.
  std::string input(const std::string& operation) {
    ferrolune_result* result = nullptr;
    const int32_t status = ferrolune_session_input(session_, operation.data(), operation.size(), &result);
    if (status != FERROLUNE_OK) return "status " + std::to_string(status) + ": " + last_error_text();
    std::string text = result_text(result);
    ferrolune_result_free(&result);
    return text;
  }

  std::string snapshot() {
    ferrolune_result* result = nullptr;
    const int32_t status = ferrolune_session_snapshot(session_, &result);
    if (status != FERROLUNE_OK) return "status " + std::to_string(status) + ": " + last_error_text();
    std::string text = result_text(result);
    ferrolune_result_free(&result);
    return text;
  }

 private:
  ferrolune_session* session_ = nullptr;
  int32_t status_ = -1;
};

// The value of a member in a compact document, as JSON text (enough for
// these tests: the first member of that name wins).
inline std::string member(const std::string& document, const std::string& name) {
  const std::string key = "\"" + name + "\":";
  const auto at = document.find(key);
  if (at == std::string::npos) return "<missing>";
  const auto start = at + key.size();
  std::size_t end = start;
  int depth = 0;
  bool in_string = false;
  for (; end < document.size(); ++end) {
    const char c = document[end];
    if (in_string) {
      if (c == '\\') ++end;
      else if (c == '"') in_string = false;
      continue;
    }
    if (c == '"') in_string = true;
    else if (c == '{' || c == '[') ++depth;
    else if (c == '}' || c == ']') {
      if (depth == 0) break;
      --depth;
    } else if (c == ',' && depth == 0) {
      break;
    }
  }
  return document.substr(start, end - start);
}

// The text of a JSON string value (only \" and \\ escapes, which is all
// the engine writes for printable text).
inline std::string unquote(const std::string& json) {
  if (json.size() < 2 || json.front() != '"') return json;
  std::string text;
  for (std::size_t i = 1; i + 1 < json.size(); ++i) {
    if (json[i] == '\\' && i + 2 < json.size()) ++i;
    text += json[i];
  }
  return text;
}

}  // namespace ferrolune::capi
