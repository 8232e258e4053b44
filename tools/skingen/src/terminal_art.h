// The picture on the installing page: a point-of-sale counter (monitor showing the sales
// screen, cash drawer, receipt printer and card terminal).
#pragma once

#include "canvas.h"
#include "font.h"

namespace skingen {

// Draws the group centred on cx, from `top` down about 155 px.
void drawTerminal(Canvas& canvas, const Font& font, double cx, double top);

}  // namespace skingen
