// Placement of the candidate window on the screen: a window that would
// run past the far edge is pulled back flush with it, and a position at or
// before the near edge becomes 0.
#pragma once

namespace ferrolune::frontend {

// One axis: the window's position for a wanted position, its size and the
// screen's size along that axis.
int clamp_to_screen(int position, int size, int screen);

}  // namespace ferrolune::frontend
