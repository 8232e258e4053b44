// The window's outline: the rectangle from (3, 3) to (W - 3, H - 3) with stepped corners, as the
// union of nine rectangles. The outer 3 pixels on every side lie outside the window.
#pragma once

#include <array>

#include "platform/geometry.h"

namespace setup::ui {

// The first rectangle starts the union; the other eight are added in order.
std::array<Edges, 9> WindowRegionRects(int width, int height);

}  // namespace setup::ui
