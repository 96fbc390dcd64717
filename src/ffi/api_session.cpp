// The session entry points: creation, input, snapshot, export and freeing.
#include "ffi/config_document.h"
#include "ffi/operation_document.h"
#include "ffi/session_document.h"
#include "ffi/session_handle.h"

using namespace ferrolune;
using namespace ferrolune::ffi;

namespace {

constexpr const char* kSnapshotFailure = "could not serialize input snapshot: ";

// Takes the session's lock for one request; a poisoned session refuses.
template <class Work>
Checked<void> with_session(ferrolune_session* session, Work&& work) {
  HandleLock lock(session->state);
  if (lock.poisoned()) {
    return failure(FERROLUNE_INTERNAL_FAULT, "input session was invalidated by an internal panic");
  }
  return work(*session->session);
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
                                       ferrolune_candidate_filter filter, void* context,
                                       ferrolune_session** out) {
  return run_request([&]() -> Checked<void> {
    if (auto cleared = clear_out(out, "session output pointer is null"); !cleared) return cleared;
    auto path = decode_text_argument(model_path, model_path_length, "database path");
    if (!path) return std::unexpected(path.error());
    if (path->empty()) return invalid_argument("database path is empty");
    auto text = decode_text_argument(config, config_length, "session configuration");
    if (!text) return std::unexpected(text.error());
    auto parsed = parse_session_config(*text);
    if (!parsed) return std::unexpected(parsed.error());
    auto resources = engine::open_session_resources(*path, std::move(*parsed));
    if (!resources) return unexpected_of(resources.error());
    auto session = engine::InputSession::create(std::move(*resources), std::string(*path),
                                                std::make_shared<const table::CandidateFilter>(filter, context));
    if (!session) return unexpected_of(session.error());
    auto handle = std::make_unique<ferrolune_session>();
    handle->session = std::move(*session);
    *out = handle.release();
    return {};
  });
}

int32_t ferrolune_session_input(ferrolune_session* session, const char* operation,
                                uint64_t operation_length, ferrolune_result** out) {
  return run_request([&]() -> Checked<void> {
    if (auto cleared = clear_out(out, "result output pointer is null"); !cleared) return cleared;
    if (!session) return invalid_argument("session handle is null");
    auto text = decode_text_argument(operation, operation_length, "input operation");
    if (!text) return std::unexpected(text.error());
    auto parsed = parse_input_operation(*text);
    if (!parsed) return std::unexpected(parsed.error());
    return with_session(session, [&](engine::InputSession& input) -> Checked<void> {
      auto effects = input.apply_operation(*parsed);
      if (!effects) return unexpected_of(effects.error());
      return store_result(out, write_session_document(input, *effects), 0, kSnapshotFailure);
    });
  });
}

int32_t ferrolune_session_snapshot(ferrolune_session* session, ferrolune_result** out) {
  return run_request([&]() -> Checked<void> {
    if (auto cleared = clear_out(out, "result output pointer is null"); !cleared) return cleared;
    if (!session) return invalid_argument("session handle is null");
    return with_session(session, [&](engine::InputSession& input) -> Checked<void> {
      return store_result(out, write_session_document(input, engine::snapshot_effects()), 0,
                          kSnapshotFailure);
    });
  });
}

int32_t ferrolune_session_export_user_data(ferrolune_session* session, ferrolune_result** out) {
  return run_request([&]() -> Checked<void> {
    if (auto cleared = clear_out(out, "result output pointer is null"); !cleared) return cleared;
    if (!session) return invalid_argument("session handle is null");
    return with_session(session, [&](engine::InputSession& input) -> Checked<void> {
      auto learning = input.refreshed_learning();
      if (!learning) return unexpected_of(learning.error());
      return store_result(out, write_user_data_document(**learning), 0, "could not serialize user data: ");
    });
  });
}

int32_t ferrolune_session_free(ferrolune_session** slot) {
  if (!slot) return finish_request(invalid_argument("session handle slot is null"));
  delete std::exchange(*slot, nullptr);
  return finish_request({});
}

}  // extern "C"
