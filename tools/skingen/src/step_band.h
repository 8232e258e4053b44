// The row of step captions across the top of each page, as chevrons.
#pragma once

#include "canvas.h"
#include "font.h"

namespace skingen {

inline constexpr int kStepBandHeight = 30;
inline constexpr int kStepCount = 4;

// Draws the band across the canvas's full width; `current` (0-3) is emphasised, earlier
// steps are shown as done, later ones greyed.
void drawStepBand(Canvas& canvas, const Font& font, int current);

}  // namespace skingen
