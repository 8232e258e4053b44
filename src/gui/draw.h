// Drawing helpers on a device context, each leaving the DC's objects and modes as it found them.
#pragma once

#include <windows.h>

#include <string_view>

#include "gui/bitmap.h"

namespace setup::gui {

void FillSolid(HDC dc, const RECT& area, COLORREF color);
// A rectangle with a one-pixel outline and a solid fill.
void DrawOutlinedBox(HDC dc, const RECT& area, COLORREF outline, COLORREF fill);
// A one-pixel outline along the inside edges of area; the inside is left alone.
void DrawOutline(HDC dc, const RECT& area, COLORREF color);
// A polyline in a one-pixel pen; the last point is not drawn.
void DrawPolyline(HDC dc, const POINT* points, int count, COLORREF color);

// The bitmap unscaled with its top-left corner at (x, y).
void DrawBitmap(HDC dc, int x, int y, const Bitmap& bitmap);
// The same, leaving out every pixel of exactly the key colour.
void DrawBitmapKeyed(HDC dc, int x, int y, const Bitmap& bitmap, COLORREF key);

// Width and height of one line of text in the font selected into the DC.
SIZE MeasureText(HDC dc, std::string_view text);
// A memory DC like the screen's, kept for the program's life, for measuring text: getting and
// releasing the screen's own DC costs several times more, and labels measure their text at every
// change (the file name, once per file while copying). Whoever selects into it restores it.
HDC MeasuringDc();
// Text with a clear background.
void DrawTextClear(HDC dc, int x, int y, std::string_view text, COLORREF color);

}  // namespace setup::gui
