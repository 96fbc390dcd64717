// The answer to every session request: the effects of the operation and a
// snapshot of the session, one compact JSON object with its members in a
// fixed order, written without an intermediate tree.
#pragma once

#include <expected>
#include <string>

#include "engine/effects.h"
#include "engine/input_session.h"

namespace ferrolune::ffi {

// The document, or the writer's description of why it could not be written.
std::expected<std::string, std::string> write_session_document(const engine::InputSession& session,
                                                               const engine::Effects& effects);

// The user-data document of an export: the learned data as stored.
std::expected<std::string, std::string> write_user_data_document(const userdata::LearningState& state);

}  // namespace ferrolune::ffi
