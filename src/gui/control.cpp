#include "gui/control.h"

#include "gui/container.h"

namespace setup::gui {

Control::Control(Container& parent) : parent_(parent) {
    parent_.Add(*this);
}

Control::~Control() {
    Invalidate();
    parent_.Remove(*this);
}

void Control::SetBounds(const Bounds& bounds) {
    if (bounds == bounds_) return;
    Invalidate();
    bounds_ = bounds;
    Invalidate();
}

void Control::SetSize(int width, int height) {
    SetBounds({bounds_.left, bounds_.top, width, height});
}

void Control::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    parent_.InvalidateArea(bounds_);
    if (!visible) parent_.Forget(*this);
}

void Control::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    EnabledChanged();
}

void Control::Invalidate() {
    if (visible_) parent_.InvalidateArea(bounds_);
}

void Control::WmLButtonDown(int x, int y, ShiftState shift) {
    DoMouseDown(MouseButton::Left, shift, x, y);
}

void Control::WmLButtonDblClk(int x, int y, ShiftState shift) {
    if (OnDblClick) OnDblClick();
    DoMouseDown(MouseButton::Left, shift | ssDouble, x, y);
}

void Control::WmLButtonUp(int x, int y, ShiftState shift) {
    DoMouseUp(MouseButton::Left, shift, x, y);
    if (OnClick) OnClick();
}

void Control::WmRButtonDown(int x, int y, ShiftState shift) {
    DoMouseDown(MouseButton::Right, shift, x, y);
}

void Control::WmRButtonUp(int x, int y, ShiftState shift) {
    DoMouseUp(MouseButton::Right, shift, x, y);
}

void Control::WmMButtonDown(int x, int y, ShiftState shift) {
    DoMouseDown(MouseButton::Middle, shift, x, y);
}

void Control::WmMButtonUp(int x, int y, ShiftState shift) {
    DoMouseUp(MouseButton::Middle, shift, x, y);
}

void Control::WmMouseMove(int, int, ShiftState) {}
void Control::WmMouseLeave() {}

void Control::DoMouseDown(MouseButton button, ShiftState shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(button, shift, x, y);
}

void Control::DoMouseUp(MouseButton button, ShiftState shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(button, shift, x, y);
}

Control::DirectDc::DirectDc(const Control& control) {
    if (!control.Visible()) return;
    window_ = control.Parent().Handle();
    if (!window_) return;
    dc_ = GetDC(window_);
    if (!dc_) return;
    const Bounds& b = control.GetBounds();
    SetViewportOrgEx(dc_, b.left, b.top, nullptr);
    IntersectClipRect(dc_, 0, 0, b.width, b.height);
}

Control::DirectDc::~DirectDc() {
    if (dc_) ReleaseDC(window_, dc_);
}

}  // namespace setup::gui
