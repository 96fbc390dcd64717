// Requests to the engine session and what the module keeps of the answer.
// send_request sends one input operation, copies "visible_text", "cursor",
// "page", "page_count", "highlight" and a nonempty "displayed_candidates"
// into FrontEndState, hands a nonempty commit to the host and records
// "handled" and "send_return". A failed request writes one line to
// standard error and leaves the view as it was, with the key unhandled.
#pragma once

#include <cstdio>
#include <string>

#include <json-c/json.h>

#include "frontend_state.h"
#include "host_services.h"

namespace ferrolune::frontend {

// The request as the engine receives it: compact JSON.
std::string request_text(json_object* request);

// The calling thread's engine last error, or "?" when it cannot be read
// into 256 bytes.
std::string engine_last_error();

// The one line a failed request leaves on standard error.
void write_request_failure(std::FILE* out, const std::string& request, const std::string& message);

// Takes ownership of `request`.
void send_request(FrontEndState& state, const HostServices& host, json_object* request);

// Copies the members of a parsed answer into `state`; a nonempty commit
// goes to the host. Exposed so that answers can be checked without a
// session.
void apply_answer(FrontEndState& state, const HostServices& host, json_object* answer);

// What module_feedkey answers after a request: 1 when the engine consumed
// the key, 0 when the application should have it, which includes a Return
// the engine asks to be delivered.
int key_consumed(const FrontEndState& state);

// Sends {"type":"reset"}; sends a finish_composition that commits the
// highlighted candidate or the completed reading.
void send_reset(FrontEndState& state, const HostServices& host);
void send_finish(FrontEndState& state, const HostServices& host);

}  // namespace ferrolune::frontend
