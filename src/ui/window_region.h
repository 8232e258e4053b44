// The window's outline: the rectangle from (3, 3) to (W - 3, H - 3) with stepped corners, as the
// union of nine rectangles. The outer 3 pixels on every side lie outside the window.
#pragma once

#include <array>

namespace setup::ui {

// Left, top, right, bottom in window coordinates; right and bottom are exclusive.
struct Edges {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const Edges&) const = default;
};

// The first rectangle starts the union; the other eight are added in order.
std::array<Edges, 9> WindowRegionRects(int width, int height);

}  // namespace setup::ui
