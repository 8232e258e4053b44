// Small value types of the windowing library: control bounds, mouse buttons and shift states,
// and the library's named colours.
#pragma once

#include <windows.h>

#include "platform/geometry.h"

namespace setup::gui {

using setup::Bounds;

inline RECT ToRect(const Bounds& b) {
    return RECT{b.left, b.top, b.right(), b.bottom()};
}

enum class MouseButton { Left, Right, Middle };

// The keys and buttons held during a mouse event, as a bit set.
using ShiftState = unsigned;
inline constexpr ShiftState ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16,
                            ssMiddle = 32, ssDouble = 64;

// The shift state of a mouse message's key flags; Alt is read from the keyboard state.
ShiftState ShiftFromKeys(WPARAM keys);

// Named colours. The clBtn... and clGrayText ones are the system's colours at the moment of use.
inline constexpr COLORREF clBlack = RGB(0, 0, 0);
inline constexpr COLORREF clWhite = RGB(255, 255, 255);
inline constexpr COLORREF clRed = RGB(255, 0, 0);
inline constexpr COLORREF clNavy = RGB(0, 0, 128);
inline COLORREF clBtnFace() {
    return GetSysColor(COLOR_BTNFACE);
}
inline COLORREF clBtnShadow() {
    return GetSysColor(COLOR_BTNSHADOW);
}
inline COLORREF clGrayText() {
    return GetSysColor(COLOR_GRAYTEXT);
}
inline COLORREF clWindowText() {
    return GetSysColor(COLOR_WINDOWTEXT);
}

}  // namespace setup::gui
