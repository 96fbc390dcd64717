#include "frontend_state.h"

#include <glib.h>

namespace ferrolune::frontend {

FrontEndState::~FrontEndState() {
  g_free(visible_text);
  if (displayed_candidates != nullptr) json_object_put(displayed_candidates);
}

bool is_composing(const FrontEndState& state) {
  return (state.visible_text != nullptr && state.visible_text[0] != '\0') ||
         state.displayed_candidates != nullptr;
}

}  // namespace ferrolune::frontend
