// The window's top bars and bottom band.
#include <cmath>

#include "globe.h"
#include "palette.h"
#include "pieces.h"
#include "shapes.h"

namespace skingen {
namespace {

constexpr int kBarWidth = 510;
constexpr int kBarHeight = 63;
constexpr int kBandHeight = 39;

struct BarColours {
    Rgb topLeft, bottomLeft, topRight, bottomRight;
};

// Bilinear blend of the four corner colours: darker downwards and to the right, so the
// title over the middle sits on an even, calm tone.
Rgb barColour(const BarColours& c, double x, double y) {
    const double tx = x / kBarWidth, ty = y / kBarHeight;
    return mix(mix(c.topLeft, c.bottomLeft, ty), mix(c.topRight, c.bottomRight, ty), tx);
}

}  // namespace

Canvas drawTopBar(bool finished) {
    using namespace palette;
    const BarColours colours =
        finished
            ? BarColours{kDoneBarTopLeft, kDoneBarBottomLeft, kDoneBarTopRight, kDoneBarBottomRight}
            : BarColours{kBarTopLeft, kBarBottomLeft, kBarTopRight, kBarBottomRight};
    Canvas bar(kBarWidth, kBarHeight);
    for (int y = 0; y < kBarHeight; ++y)
        for (int x = 0; x < kBarWidth; ++x) bar.set(x, y, barColour(colours, x + 0.5, y + 0.5));

    // A lit top edge and a dark bottom edge give the bar some depth.
    for (int x = 0; x < kBarWidth; ++x) {
        bar.blend(x, 0, kWhite, 0.22);
        bar.blend(x, 1, kWhite, 0.08);
        bar.blend(x, kBarHeight - 1, kBlack, 0.35);
    }

    // A soft glow behind the emblem that fades out well before the title.
    for (int y = 0; y < kBarHeight; ++y) {
        for (int x = 0; x < 100; ++x) {
            const double d = std::hypot((x + 0.5 - 42) / 56, (y + 0.5 - 31.5) / 42);
            if (d < 1) bar.blend(x, y, kWhite, 0.12 * (1 - d) * (1 - d));
        }
    }

    GlobeStyle style;
    if (finished) {
        style.sea = {52, 150, 170};
        style.checkBadge = true;
    }
    drawGlobe(bar, 42, 31.5, 24, style);
    return bar;
}

Canvas drawBottomBand() {
    using namespace palette;
    Canvas band(kBarWidth, kBandHeight, kBottomBand);
    band.fill({0, 0, kBarWidth, 1}, kBottomShade);
    band.fill({0, 1, kBarWidth, 1}, kBottomHighlight);
    return band;
}

}  // namespace skingen
