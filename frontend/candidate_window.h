// The candidate window: a small top-level GTK window holding one label
// with the composition and its caret. The candidates of the current page,
// the highlight and the page marks are handed to the host, which draws
// them; the window's place is the host's, within the screen bounds.
#pragma once

#include "frontend_state.h"
#include "host_services.h"

namespace ferrolune::frontend {

void build_candidate_window(FrontEndState& state, const HostServices& host);

// Hides the window (when there is one) and tells the host.
void hide_candidate_window(FrontEndState& state, const HostServices& host);

// Draws the window and the host's candidates from the last answer.
void redraw_window(FrontEndState& state, const HostServices& host);

void show_window(FrontEndState& state, const HostServices& host);
bool window_visible(const FrontEndState& state);
void move_window(FrontEndState& state, const HostServices& host, int x, int y);
void store_window_geometry(FrontEndState& state, const HostServices& host);
void apply_font_size(FrontEndState& state, const HostServices& host);

}  // namespace ferrolune::frontend
