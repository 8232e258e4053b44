// The skin's colours in one place, so every piece agrees: navy top bars, light blue-grey
// pages, a steel-blue accent and green buttons.
#pragma once

#include "canvas.h"

namespace skingen::palette {

// Neutral fill between the pieces; the installer never shows it.
inline constexpr Rgb kAtlasGap{200, 200, 200};
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kBlack{0, 0, 0};
// The installer treats exact white as transparent in keyed pieces.
inline constexpr Rgb kKey{255, 255, 255};

// Top bar corners: top-left, bottom-left, top-right, bottom-right.
inline constexpr Rgb kBarTopLeft{62, 90, 126};
inline constexpr Rgb kBarBottomLeft{30, 48, 76};
inline constexpr Rgb kBarTopRight{44, 64, 94};
inline constexpr Rgb kBarBottomRight{22, 34, 54};
// The finishing page's bar leans to teal.
inline constexpr Rgb kDoneBarTopLeft{48, 110, 112};
inline constexpr Rgb kDoneBarBottomLeft{22, 64, 70};
inline constexpr Rgb kDoneBarTopRight{36, 82, 90};
inline constexpr Rgb kDoneBarBottomRight{16, 44, 52};

inline constexpr Rgb kPageTop{244, 247, 251};
inline constexpr Rgb kPageBottom{218, 227, 238};
inline constexpr Rgb kFieldBorder{150, 168, 192};

inline constexpr Rgb kAccent{40, 112, 192};
inline constexpr Rgb kAccentDark{26, 82, 152};
inline constexpr Rgb kAccentLight{112, 178, 236};

inline constexpr Rgb kBottomBand{214, 217, 222};
inline constexpr Rgb kBottomHighlight{242, 243, 246};
inline constexpr Rgb kBottomShade{188, 192, 200};

inline constexpr Rgb kTextGrey{122, 130, 142};

}  // namespace skingen::palette
