// The program icon's pictures: the globe emblem on transparency, drawn afresh at each size
// rather than scaled, so small sizes get their own line widths and grid.
#pragma once

#include <array>
#include <vector>

#include "canvas.h"

namespace skingen {

inline constexpr std::array<int, 4> kIconSizes{16, 32, 48, 256};

Canvas drawIconImage(int size);
// One image per entry of kIconSizes, in that order.
std::vector<Canvas> drawIconImages();

}  // namespace skingen
