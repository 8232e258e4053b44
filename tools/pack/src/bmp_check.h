// The skin must be a bitmap file the installer can cut pieces from: 24 bits per pixel, no
// compression, rows bottom-up, every pixel present.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pack {

struct BmpInfo {
    long width = 0;
    long height = 0;
};

struct BmpCheck {
    std::optional<BmpInfo> info;  // set when the bitmap is usable
    std::string problem;          // otherwise why not
};

// Checks the file header, the information header and that the file's size matches both the
// size its header states and what its pixel rows need.
BmpCheck CheckSkinBitmap(std::string_view bytes);

}  // namespace pack
