// PNG output for canvases with alpha: 8-bit RGBA, one IDAT chunk and no optional chunks, so
// the same pixels always give the same bytes.
#pragma once

#include <cstdint>
#include <vector>

#include "canvas.h"

namespace skingen {

// Opaque canvases are stored with alpha 255 throughout. Throws std::runtime_error if zlib
// fails.
std::vector<std::uint8_t> encodePng(const Canvas& canvas);

}  // namespace skingen
