// What a session is built on: its validated configuration, the verified
// model connection, the user database and the learned data loaded from it.
// Opening either completes or leaves nothing open: every resource is owned
// by a value that closes it, so a failure part-way closes what came before.
#pragma once

#include <memory>
#include <string_view>

#include "engine/session_config.h"
#include "model/error.h"
#include "model/model_database.h"
#include "userdata/learning_state.h"
#include "userdata/user_database.h"

namespace ferrolune::engine {

struct SessionResources {
  SessionConfig config;
  model::ModelDatabase model;
  userdata::UserDatabase user;
  std::shared_ptr<const userdata::LearningState> learning;
};

// Validates `config` (a plain message on failure), opens the model at
// `model_path`, opens the configured user database ("user_database"; its
// absence means a private in-memory one) and loads its learned data in one
// read transaction. Storage failures are ModelErrors.
Result<SessionResources> open_session_resources(std::string_view model_path, SessionConfig config);

}  // namespace ferrolune::engine
