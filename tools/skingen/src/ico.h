// Windows icon file output. Images below 256 px are stored as 32-bit BGRA DIBs with their
// 1-bit mask, which every Windows version reads; the 256-px image as PNG, which Windows
// reads since Vista and which keeps the file, and the program carrying it, small.
#pragma once

#include <cstdint>
#include <vector>

#include "canvas.h"

namespace skingen {

// One entry per image, in the given order. Images must be square, 1 to 256 px; throws
// std::invalid_argument otherwise.
std::vector<std::uint8_t> encodeIco(const std::vector<Canvas>& images);

}  // namespace skingen
