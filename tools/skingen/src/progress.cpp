// The progress frame and fill. The installer stretches the frame with fixed 5-px ends, so
// everything here varies only by row between the ends.
#include "palette.h"
#include "pieces.h"
#include "shapes.h"

namespace skingen {
namespace {

// Small enough that the rounded corners stay inside the fixed 5-px ends.
constexpr double kCornerRadius = 4;

}  // namespace

Canvas drawProgressFrame(int width, int height, Rgb matte, Rgb outside) {
    using namespace palette;
    Canvas frame(width, height, matte);
    const Rect all{0, 0, width, height};
    const Inside outer = roundRect(0, 0, width, height, kCornerRadius);
    fillShape(frame, all, outer, verticalGradient(0, height, Rgb{96, 150, 210}, kAccentDark));
    fillShape(frame, all, roundRect(1, 1, width - 2, height - 2, kCornerRadius - 1),
              verticalGradient(1, height - 1, Rgb{226, 232, 240}, Rgb{250, 251, 253}));
    keyOutside(frame, all, outer, outside);
    return frame;
}

Canvas drawProgressBar(int width, int height) {
    Canvas bar(width, height);
    // Glossy blue: light top, a brighter band, deeper toward the bottom.
    for (int y = 0; y < height; ++y) {
        const double t = (y + 0.5) / height;
        const Rgb c = t < 0.45 ? mix(Rgb{150, 206, 250}, Rgb{72, 152, 230}, t / 0.45)
                               : mix(Rgb{44, 122, 212}, Rgb{26, 88, 170}, (t - 0.45) / 0.55);
        bar.fill({0, y, width, 1}, c);
    }
    return bar;
}

}  // namespace skingen
