// Each function draws one skin piece at its own size, origin top-left.
#pragma once

#include "canvas.h"
#include "font.h"

namespace skingen {

// Top bar of the window: `finished` gives the variant shown on the last page.
Canvas drawTopBar(bool finished);
Canvas drawBottomBand();

// Page background colour at a row of a 295-px centre piece; keyed pieces drawn over the
// pages blend their edges against it.
Rgb pageColourAt(double y);
// Centre piece for step 0 (welcome) to 3 (finished).
Canvas drawPage(const Font& font, int step);

// Progress frame of any size. Pixels outside its rounded border become `outside`.
Canvas drawProgressFrame(int width, int height, Rgb matte, Rgb outside);
Canvas drawProgressBar(int width, int height);

// Strip of 55 x 23 frames: normal, hot, down, disabled.
Canvas drawButtonStrip();
// Strip of 27 x 19 close-button frames: normal, hot, down, disabled.
Canvas drawCloseStrip();

}  // namespace skingen
