#include "ui/window_region.h"

namespace setup::ui {

std::array<Edges, 9> WindowRegionRects(int w, int h) {
    return {{
        {3, 6, 4, h - 6},
        {4, 5, 5, h - 5},
        {6, 3, w - 6, 4},
        {5, 4, w - 5, 5},
        {w - 4, 6, w - 3, h - 6},
        {w - 5, 5, w - 4, h - 5},
        {6, h - 4, w - 6, h - 3},
        {5, h - 5, w - 5, h - 4},
        {5, 5, w - 5, h - 5},
    }};
}

}  // namespace setup::ui
