// Windows BMP output: 24 bits per pixel, uncompressed, bottom-up rows padded to 4 bytes,
// the form the installer loads its skin from.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "canvas.h"

namespace skingen {

std::vector<std::uint8_t> encodeBmp(const Canvas& canvas);

// Writes the file via a temporary name and a rename, so a failed run never leaves a
// truncated atlas behind. Returns false and fills `error` on failure.
bool writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string& error);

}  // namespace skingen
