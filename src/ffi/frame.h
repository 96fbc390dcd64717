// The call frame shared by every entry point: failures with their status
// codes, the per-thread last error, text arguments, the output protocol,
// fault containment, document parsing and result creation.
//
// An entry point is written as
//
//   return run_request([&]() -> Checked<void> { ... });
//
// The work returns a Failure for every expected problem; run_request writes
// the thread's last error from the outcome and returns its status. Any
// exception escaping the work is an internal fault: status 6 and
// "Ferrolune caught an internal panic" (a handle locked by the work is
// poisoned by its HandleLock). Running out of memory ends the process.
#pragma once

#include <cstdint>
#include <exception>
#include <expected>
#include <mutex>
#include <new>
#include <string>
#include <string_view>
#include <utility>

#include "ferrolune.h"
#include "ffi/json/reader.h"
#include "model/error.h"

// The result object: an owned JSON text and a row count, never changed
// after creation.
struct ferrolune_result {
  std::string json;
  std::uint64_t row_count = 0;
};

namespace ferrolune::ffi {

// A failed request: its status code and message.
struct Failure {
  std::int32_t status;
  std::string message;
};

template <class T>
using Checked = std::expected<T, Failure>;

inline std::unexpected<Failure> failure(std::int32_t status, std::string message) {
  return std::unexpected<Failure>(Failure{status, std::move(message)});
}
inline std::unexpected<Failure> invalid_argument(std::string message) {
  return failure(FERROLUNE_INVALID_ARGUMENT, std::move(message));
}

// The status of a ModelError kind.
std::int32_t status_of(model::ModelErrorKind kind) noexcept;
// An engine error as the caller sees it: a plain message is status 1 and
// unchanged; a ModelError is its leading words, ": ", the detail, with the
// kind's status.
Failure failure_of(const Error& error);
inline std::unexpected<Failure> unexpected_of(const Error& error) {
  return std::unexpected<Failure>(failure_of(error));
}

// The calling thread's last-error text.
const std::string& last_error() noexcept;
void set_last_error(std::string message);

// Checks one text argument named `name` (for messages) and returns it.
Checked<std::string_view> decode_text_argument(const char* data, std::uint64_t length,
                                               std::string_view name);

// The output protocol of ferrolune_result_read and ferrolune_last_error.
Checked<void> copy_out_text(std::string_view text, char* buffer, std::uint64_t capacity,
                            std::uint64_t* required);

// Parses a request document with `parse(reader)` (which returns the
// record); a reader failure becomes status 1 with `prefix` and the
// reader's description, e.g. "invalid reading codec request: ".
template <class Parse>
auto parse_document(std::string_view text, std::string_view prefix, Parse&& parse)
    -> Checked<decltype(parse(std::declval<json::Reader&>()))> {
  json::Reader reader(text);
  auto value = parse(reader);
  reader.finish();
  if (!reader.ok()) return invalid_argument(std::string(prefix) + reader.error());
  return value;
}

// Stores a new result in `*out` (already checked non-null). A writer
// failure is status 3 with `serialize_prefix` (e.g. "could not serialize
// model rows: ") and the writer's text.
Checked<void> store_result(ferrolune_result** out, std::expected<std::string, std::string> json,
                           std::uint64_t row_count, std::string_view serialize_prefix);

// Null-checks an out pointer and stores null in it.
template <class T>
Checked<void> clear_out(T** out, const char* message) {
  if (!out) return invalid_argument(message);
  *out = nullptr;
  return {};
}

[[noreturn]] void out_of_memory() noexcept;

// Writes the last error from the outcome and returns its status.
std::int32_t finish_request(const Checked<void>& outcome);
// The internal-fault outcome: last error set, status 6.
std::int32_t internal_fault() noexcept;

template <class Work>
std::int32_t run_request(Work&& work) noexcept {
  try {
    return finish_request(work());
  } catch (const std::bad_alloc&) {
    out_of_memory();
  } catch (...) {
    return internal_fault();
  }
}

// A handle's lock with its poisoned flag.
struct HandleState {
  std::mutex mutex;
  bool poisoned = false;
};

// Holds a handle's lock for one request. If an exception unwinds through
// it, the handle is poisoned for good.
class HandleLock {
 public:
  explicit HandleLock(HandleState& state)
      : state_(state), lock_(state.mutex), exceptions_(std::uncaught_exceptions()) {}
  ~HandleLock() {
    if (std::uncaught_exceptions() > exceptions_) state_.poisoned = true;
  }
  HandleLock(const HandleLock&) = delete;
  HandleLock& operator=(const HandleLock&) = delete;

  bool poisoned() const noexcept { return state_.poisoned; }

 private:
  HandleState& state_;
  std::unique_lock<std::mutex> lock_;
  int exceptions_;
};

}  // namespace ferrolune::ffi
