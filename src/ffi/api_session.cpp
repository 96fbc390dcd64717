// The session entry points: creation, input, snapshot, export and freeing.
#include "ffi/session_handle.h"

using namespace ferrolune::ffi;

namespace {

Checked<void> lock_failure(const HandleLock& lock) {
  if (lock.poisoned()) {
    return failure(FERROLUNE_INTERNAL_FAULT, "input session was invalidated by an internal panic");
  }
  return {};
}

}  // namespace

extern "C" {

int32_t ferrolune_session_new(const char* model_path, uint64_t model_path_length, const char* config,
                              uint64_t config_length, ferrolune_session** out) {
  return ferrolune_session_new_filtered(model_path, model_path_length, config, config_length, nullptr,
                                        nullptr, out);
}

int32_t ferrolune_session_new_filtered(const char* model_path, uint64_t model_path_length,
                                       const char* config, uint64_t config_length,
                                       ferrolune_candidate_filter, void*, ferrolune_session** out) {
  return run_request([&]() -> Checked<void> {
    if (auto cleared = clear_out(out, "session output pointer is null"); !cleared) return cleared;
    auto path = decode_text_argument(model_path, model_path_length, "database path");
    if (!path) return std::unexpected(path.error());
    if (path->empty()) return invalid_argument("database path is empty");
    auto text = decode_text_argument(config, config_length, "session configuration");
    if (!text) return std::unexpected(text.error());
    return invalid_argument("input sessions are not available in this build");
  });
}

int32_t ferrolune_session_input(ferrolune_session* session, const char* operation,
                                uint64_t operation_length, ferrolune_result** out) {
  return run_request([&]() -> Checked<void> {
    if (auto cleared = clear_out(out, "result output pointer is null"); !cleared) return cleared;
    if (!session) return invalid_argument("session handle is null");
    auto text = decode_text_argument(operation, operation_length, "input operation");
    if (!text) return std::unexpected(text.error());
    HandleLock lock(session->state);
    if (auto usable = lock_failure(lock); !usable) return usable;
    return invalid_argument("input sessions are not available in this build");
  });
}

int32_t ferrolune_session_snapshot(ferrolune_session* session, ferrolune_result** out) {
  return run_request([&]() -> Checked<void> {
    if (auto cleared = clear_out(out, "result output pointer is null"); !cleared) return cleared;
    if (!session) return invalid_argument("session handle is null");
    HandleLock lock(session->state);
    if (auto usable = lock_failure(lock); !usable) return usable;
    return invalid_argument("input sessions are not available in this build");
  });
}

int32_t ferrolune_session_export_user_data(ferrolune_session* session, ferrolune_result** out) {
  return run_request([&]() -> Checked<void> {
    if (auto cleared = clear_out(out, "result output pointer is null"); !cleared) return cleared;
    if (!session) return invalid_argument("session handle is null");
    HandleLock lock(session->state);
    if (auto usable = lock_failure(lock); !usable) return usable;
    return invalid_argument("input sessions are not available in this build");
  });
}

int32_t ferrolune_session_free(ferrolune_session** slot) {
  if (!slot) return finish_request(invalid_argument("session handle slot is null"));
  delete std::exchange(*slot, nullptr);
  return finish_request({});
}

}  // extern "C"
