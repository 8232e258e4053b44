// Where each skin piece lives in the atlas. The installer reads the pieces at exactly these
// rectangles, so they must not move.
#pragma once

#include <array>
#include <string_view>

#include "canvas.h"

namespace skingen {

inline constexpr int kAtlasWidth = 1025;
inline constexpr int kAtlasHeight = 757;

struct Piece {
    std::string_view key;
    Rect rect;
};

inline constexpr std::array<Piece, 11> kPieces{{
    {"FrmTop1BackRect", {2, 10, 510, 63}},
    {"FrmTop2BackRect", {513, 10, 510, 63}},
    {"FrmCenter1BackRect", {2, 122, 510, 295}},
    {"FrmCenter2BackRect", {2, 422, 510, 295}},
    {"FrmCenter3BackRect", {513, 122, 510, 295}},
    {"FrmCenter4BackRect", {513, 422, 510, 295}},
    {"FrmBottomBackRect", {2, 78, 510, 39}},
    {"PrBBackRect", {766, 101, 30, 19}},
    {"PrBBarRect", {760, 103, 2, 15}},
    {"BtnRect", {515, 76, 220, 23}},
    {"BtnCloseRect", {515, 101, 108, 19}},
}};

// Button strips hold their state frames side by side.
inline constexpr int kButtonFrameWidth = 55;
inline constexpr int kCloseFrameWidth = 27;

// Areas inside pieces that the installer fills itself.
inline constexpr Rect kLicenceBox{15, 67, 480, 217};    // in FrmCenter1BackRect
inline constexpr Rect kProgressSlot{30, 251, 450, 19};  // in FrmCenter3BackRect

}  // namespace skingen
