#include "window_geometry.h"

namespace ferrolune::frontend {

int clamp_to_screen(int position, int size, int screen) {
  // Widened so that positions near INT_MAX cannot overflow the sum.
  long long placed = position;
  if (placed + size > screen) placed = static_cast<long long>(screen) - size;
  if (placed <= 0) placed = 0;
  return static_cast<int>(placed);
}

}  // namespace ferrolune::frontend
