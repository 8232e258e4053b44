#include "gui/draw.h"

#include "platform/win32/handles.h"

namespace setup::gui {

void FillSolid(HDC dc, const RECT& area, COLORREF color) {
    COLORREF old = SetBkColor(dc, color);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
    SetBkColor(dc, old);
}

void DrawOutlinedBox(HDC dc, const RECT& area, COLORREF outline, COLORREF fill) {
    win32::UniquePen pen(CreatePen(PS_SOLID, 1, outline));
    win32::UniqueBrush brush(CreateSolidBrush(fill));
    win32::SelectGuard use_pen(dc, pen.get());
    win32::SelectGuard use_brush(dc, brush.get());
    Rectangle(dc, area.left, area.top, area.right, area.bottom);
}

void DrawOutline(HDC dc, const RECT& area, COLORREF color) {
    win32::UniqueBrush brush(CreateSolidBrush(color));
    FrameRect(dc, &area, brush.get());
}

void DrawPolyline(HDC dc, const POINT* points, int count, COLORREF color) {
    win32::UniquePen pen(CreatePen(PS_SOLID, 1, color));
    win32::SelectGuard use_pen(dc, pen.get());
    Polyline(dc, points, count);
}

void DrawBitmap(HDC dc, int x, int y, const Bitmap& bitmap) {
    if (bitmap.Empty()) return;
    BitBlt(dc, x, y, bitmap.Width(), bitmap.Height(), bitmap.Dc(), 0, 0, SRCCOPY);
}

void DrawBitmapKeyed(HDC dc, int x, int y, const Bitmap& bitmap, COLORREF key) {
    if (bitmap.Empty()) return;
    // gdi32's own keyed copy: msimg32, whose TransparentBlt calls it, is not a known DLL.
    GdiTransparentBlt(dc, x, y, bitmap.Width(), bitmap.Height(), bitmap.Dc(), 0, 0,
                      bitmap.Width(), bitmap.Height(), key);
}

HDC MeasuringDc() {
    static const win32::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    return dc.get();
}

SIZE MeasureText(HDC dc, std::string_view text) {
    SIZE size{};
    GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
    return size;
}

void DrawTextClear(HDC dc, int x, int y, std::string_view text, COLORREF color) {
    int old_mode = SetBkMode(dc, TRANSPARENT);
    COLORREF old_color = SetTextColor(dc, color);
    TextOutA(dc, x, y, text.data(), static_cast<int>(text.size()));
    SetTextColor(dc, old_color);
    SetBkMode(dc, old_mode);
}

}  // namespace setup::gui
