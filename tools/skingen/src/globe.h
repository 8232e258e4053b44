// The product emblem: a shaded globe with a latitude/longitude grid.
#pragma once

#include "canvas.h"

namespace skingen {

struct GlobeStyle {
    Rgb sea{58, 138, 214};
    Rgb grid{226, 242, 255};
    bool checkBadge = false;  // a green tick badge, for the finishing page
};

void drawGlobe(Canvas& canvas, double cx, double cy, double radius, const GlobeStyle& style);

}  // namespace skingen
