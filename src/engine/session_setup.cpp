#include "engine/session_setup.h"

#include <utility>

#include "userdata/learning_store.h"

namespace ferrolune::engine {

Result<SessionResources> open_session_resources(std::string_view model_path, SessionConfig config) {
  if (auto valid = validate_session_config(config); !valid) return std::unexpected(valid.error());
  auto model = model::open_model_database(model_path);
  if (!model) return std::unexpected(model.error());
  auto user = config.user_database ? userdata::open_user_database(*config.user_database, model_path)
                                   : userdata::open_memory_user_database();
  if (!user) return std::unexpected(user.error());
  auto learning = userdata::refresh_learning(user->connection());
  if (!learning) return std::unexpected(learning.error());
  return SessionResources{
      std::move(config), std::move(*model), std::move(*user),
      std::make_shared<const userdata::LearningState>(std::move(*learning))};
}

}  // namespace ferrolune::engine
