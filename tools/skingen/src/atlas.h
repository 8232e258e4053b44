// Assembles every skin piece into the atlas image at its fixed rectangle.
#pragma once

#include "canvas.h"
#include "font.h"

namespace skingen {

Canvas renderAtlas(const Font& font);

}  // namespace skingen
