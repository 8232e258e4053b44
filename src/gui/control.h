// Windowless controls: they have no window of their own and are painted by their parent in the
// parent's list order, each later one over the earlier ones. The parent routes mouse messages to
// the enabled, visible control under the cursor (the topmost wins) and never captures the mouse.
#pragma once

#include <windows.h>

#include <functional>

#include "gui/types.h"

namespace setup::gui {

class Container;

using MouseEvent = std::function<void(MouseButton, ShiftState, int x, int y)>;
using NotifyEvent = std::function<void()>;

class Control {
public:
    // Joins the parent's paint order on top of the controls already there.
    explicit Control(Container& parent);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    Container& Parent() const { return parent_; }
    const Bounds& GetBounds() const { return bounds_; }
    // Controls that size themselves (auto-sized labels) keep their own size.
    virtual void SetBounds(const Bounds& bounds);
    int Left() const { return bounds_.left; }
    int Top() const { return bounds_.top; }
    int Width() const { return bounds_.width; }
    int Height() const { return bounds_.height; }
    void SetSize(int width, int height);

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    // Asks the parent to repaint the control's area (and what shows through it) later.
    void Invalidate();

    // Draws the control; the DC's origin is the control's top-left corner and it is clipped to
    // the control's bounds.
    virtual void Paint(HDC dc) = 0;

    // Mouse messages in the control's coordinates. The defaults fire the events the way a
    // generic control does: a double-click fires OnDblClick, then OnMouseDown with ssDouble.
    virtual void WmLButtonDown(int x, int y, ShiftState shift);
    virtual void WmLButtonDblClk(int x, int y, ShiftState shift);
    virtual void WmLButtonUp(int x, int y, ShiftState shift);
    virtual void WmRButtonDown(int x, int y, ShiftState shift);
    virtual void WmRButtonUp(int x, int y, ShiftState shift);
    virtual void WmMButtonDown(int x, int y, ShiftState shift);
    virtual void WmMButtonUp(int x, int y, ShiftState shift);
    virtual void WmMouseMove(int x, int y, ShiftState shift);
    // The cursor has left the control (to another control, a child window or out of the parent).
    virtual void WmMouseLeave();

    MouseEvent OnMouseDown;
    MouseEvent OnMouseUp;
    NotifyEvent OnClick;
    NotifyEvent OnDblClick;

protected:
    virtual void DoMouseDown(MouseButton button, ShiftState shift, int x, int y);
    virtual void DoMouseUp(MouseButton button, ShiftState shift, int x, int y);
    virtual void EnabledChanged() { Invalidate(); }

    // A DC on the parent's window for drawing at once, outside a paint cycle: origin at the
    // control, clipped to it (and, through the parent's style, to no child window).
    class DirectDc {
    public:
        explicit DirectDc(const Control& control);
        ~DirectDc();
        DirectDc(const DirectDc&) = delete;
        DirectDc& operator=(const DirectDc&) = delete;
        HDC get() const { return dc_; }

    private:
        HWND window_ = nullptr;
        HDC dc_ = nullptr;
    };

private:
    Container& parent_;
    Bounds bounds_;
    bool visible_ = true;
    bool enabled_ = true;
};

}  // namespace setup::gui
