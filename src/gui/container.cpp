#include "gui/container.h"

#include <windowsx.h>

#include <algorithm>

#include "gui/draw.h"
#include "platform/win32/handles.h"

namespace setup::gui {

void Container::SetColor(COLORREF color) {
    color_ = color;
    if (Handle()) InvalidateRect(Handle(), nullptr, FALSE);
}

void Container::Add(Control& control) {
    controls_.push_back(&control);
}

void Container::Remove(Control& control) {
    Forget(control);
    std::erase(controls_, &control);
}

void Container::Forget(Control& control) {
    if (hot_ == &control) hot_ = nullptr;
}

void Container::InvalidateArea(const Bounds& area) {
    if (!Handle() || area.width <= 0 || area.height <= 0) return;
    RECT r = ToRect(area);
    RedrawWindow(Handle(), &r, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void Container::PaintUnder(HDC dc, const Bounds& area) const {
    POINT old_origin;
    OffsetViewportOrgEx(dc, -area.left, -area.top, &old_origin);
    FillSolid(dc, ToRect(area), color_);
    for (Control* control : controls_) {
        const Bounds& b = control->GetBounds();
        if (!control->Visible() || !b.Intersects(area)) continue;
        int saved = SaveDC(dc);
        OffsetViewportOrgEx(dc, b.left, b.top, nullptr);
        IntersectClipRect(dc, 0, 0, b.width, b.height);
        control->Paint(dc);
        RestoreDC(dc, saved);
    }
    SetViewportOrgEx(dc, old_origin.x, old_origin.y, nullptr);
}

Control* Container::ControlAt(int x, int y) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        Control* c = *it;
        if (c->Visible() && c->Enabled() && c->GetBounds().Contains(x, y)) return c;
    }
    return nullptr;
}

void Container::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    const RECT& r = ps.rcPaint;
    Bounds area{r.left, r.top, r.right - r.left, r.bottom - r.top};
    if (area.width > 0 && area.height > 0) {
        if (double_buffered_) {
            win32::UniqueMemoryDc memory(CreateCompatibleDC(dc));
            win32::UniqueBitmap buffer(CreateCompatibleBitmap(dc, area.width, area.height));
            if (memory && buffer) {
                win32::SelectGuard use(memory.get(), buffer.get());
                PaintUnder(memory.get(), area);
                BitBlt(dc, area.left, area.top, area.width, area.height, memory.get(), 0, 0,
                       SRCCOPY);
            }
        } else {
            POINT origin;
            SetViewportOrgEx(dc, area.left, area.top, &origin);
            PaintUnder(dc, area);
            SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
        }
    }
    EndPaint(Handle(), &ps);
}

void Container::StartLeaveTracking() {
    if (tracking_) return;
    TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, Handle(), 0};
    tracking_ = TrackMouseEvent(&tme) != FALSE;
}

void Container::TrackHot(Control* target) {
    if (target == hot_) return;
    Control* left = hot_;
    hot_ = target;
    if (left) left->WmMouseLeave();
}

void Container::RouteMouse(UINT message, WPARAM wparam, LPARAM lparam) {
    const int x = GET_X_LPARAM(lparam), y = GET_Y_LPARAM(lparam);
    Control* target = ControlAt(x, y);
    // Any mouse message tells where the cursor is: the control it left hears of it.
    StartLeaveTracking();
    TrackHot(target);
    if (!target) return;
    const int cx = x - target->Left(), cy = y - target->Top();
    const ShiftState shift = ShiftFromKeys(wparam);
    switch (message) {
        case WM_MOUSEMOVE:
            target->WmMouseMove(cx, cy, shift);
            break;
        case WM_LBUTTONDOWN:
            target->WmLButtonDown(cx, cy, shift);
            break;
        case WM_LBUTTONDBLCLK:
            target->WmLButtonDblClk(cx, cy, shift);
            break;
        case WM_LBUTTONUP:
            target->WmLButtonUp(cx, cy, shift);
            break;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
            target->WmRButtonDown(cx, cy, shift);
            break;
        case WM_RBUTTONUP:
            target->WmRButtonUp(cx, cy, shift);
            break;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK:
            target->WmMButtonDown(cx, cy, shift);
            break;
        case WM_MBUTTONUP:
            target->WmMButtonUp(cx, cy, shift);
            break;
    }
}

LRESULT Container::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_ERASEBKGND:
            return 1;  // the paint step covers every pixel
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
        case WM_RBUTTONUP:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK:
        case WM_MBUTTONUP:
            RouteMouse(message, wparam, lparam);
            return 0;
        case WM_MOUSELEAVE:
            tracking_ = false;
            TrackHot(nullptr);
            return 0;
        case WM_SHOWWINDOW:
            if (!wparam) TrackHot(nullptr);
            break;
    }
    return Window::HandleMessage(message, wparam, lparam);
}

}  // namespace setup::gui
