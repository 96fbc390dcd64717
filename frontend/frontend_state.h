// FrontEndState: everything the module keeps between host calls: its
// widgets, the engine session, and the few values of the engine's last
// answer that the preedit and the candidate window are drawn from. One
// instance exists per loaded module; it is touched only on the host's GUI
// thread.
#pragma once

#include <cstdint>

#include <json-c/json.h>

#include "ferrolune.h"

typedef struct _GtkWidget GtkWidget;

namespace ferrolune::frontend {

struct FrontEndState {
  GtkWidget* window = nullptr;
  GtkWidget* label = nullptr;
  ferrolune_session* session = nullptr;
  int handled = 0;
  int send_return = 0;
  // Owned, allocated with g_malloc; null before the first answer.
  char* visible_text = nullptr;
  int cursor = 0;
  std::int64_t keyboard_mtime = 0;
  std::int64_t settings_mtime = 0;
  // Owned reference; only ever a nonempty array or null.
  json_object* displayed_candidates = nullptr;
  int page = 0;
  int page_count = 0;
  int highlight = -1;

  FrontEndState() = default;
  FrontEndState(const FrontEndState&) = delete;
  FrontEndState& operator=(const FrontEndState&) = delete;
  // Releases the answer values; the session and widgets are left alone,
  // because the module never tears them down.
  ~FrontEndState();
};

// Something is being composed: there is preedit text or a candidate page.
bool is_composing(const FrontEndState& state);

}  // namespace ferrolune::frontend
