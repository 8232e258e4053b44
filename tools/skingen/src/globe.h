// The product emblem: a shaded globe with a latitude/longitude grid.
#pragma once

#include "canvas.h"

namespace skingen {

struct GlobeStyle {
    Rgb sea{58, 138, 214};
    Rgb grid{226, 242, 255};
    bool checkBadge = false;  // a green tick badge, for the finishing page
    // Degrees between grid lines; small globes read better with fewer lines.
    double gridStep = 30;
    // Widths of grid lines and rim, and the halo's spread, relative to the skin's own
    // 24-px globe, so larger and smaller globes keep the same look.
    double lineScale = 1;
    double haloScale = 1;
};

void drawGlobe(Canvas& canvas, double cx, double cy, double radius, const GlobeStyle& style);

}  // namespace skingen
