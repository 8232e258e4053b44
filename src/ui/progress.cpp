#include "ui/progress.h"

#include "platform/rounding.h"

namespace setup::ui {

namespace {
constexpr int kFrameEnd = 5;
}

int ProgressBarWidth(int frame_width, double fraction) {
    if (frame_width <= 0) return 0;
    const double product = frame_width * fraction;
    if (!(product > 0)) return 0;  // also NaN
    if (product >= frame_width) return frame_width;
    return static_cast<int>(RoundHalfEven(product));
}

std::array<FrameSlice, 3> ProgressFrameSlices(Size p, Size f) {
    return {{
        {{0, 0, kFrameEnd, p.height}, {0, 0, kFrameEnd, f.height}},
        {{kFrameEnd, 0, p.width - 2 * kFrameEnd, p.height},
         {kFrameEnd, 0, f.width - 2 * kFrameEnd, f.height}},
        {{p.width - kFrameEnd, 0, kFrameEnd, p.height},
         {f.width - kFrameEnd, 0, kFrameEnd, f.height}},
    }};
}

}  // namespace setup::ui
