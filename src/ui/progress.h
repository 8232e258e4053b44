// Geometry of the progress bar: the width of the filled bar for a fraction, and how the frame is
// built from its piece with fixed 5-pixel ends and a stretched middle.
#pragma once

#include <array>

#include "ui/page_layout.h"

namespace setup::ui {

// frame_width x fraction rounded to the nearest integer, a tie going to the even neighbour.
// Kept within 0 and frame_width: a bar never grows wider than its frame (nor negative), so a
// fraction outside 0 to 1 (or not a number) cannot make an absurd bitmap.
int ProgressBarWidth(int frame_width, double fraction);

// One copy of a piece rectangle onto a frame rectangle; a slice with an empty side is skipped.
struct FrameSlice {
    Bounds from, to;
};
// Left end, stretched middle, right end.
std::array<FrameSlice, 3> ProgressFrameSlices(Size piece, Size frame);

// The width of the fill piece's columns that are stretched over the bar.
inline constexpr int kBarSourceColumns = 2;

}  // namespace setup::ui
