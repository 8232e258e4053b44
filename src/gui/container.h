// A window that hosts windowless controls: it paints its background colour and then each visible
// control in list order, into an off-screen bitmap shown in one step when double buffering is on,
// and routes mouse messages to the control under the cursor.
#pragma once

#include <windows.h>

#include <vector>

#include "gui/control.h"
#include "gui/window.h"

namespace setup::gui {

class Container : public Window {
public:
    COLORREF Color() const { return color_; }
    void SetColor(COLORREF color);
    bool DoubleBuffered() const { return double_buffered_; }
    void SetDoubleBuffered(bool on) { double_buffered_ = on; }

    // Repaints an area later, together with the child windows that show it through.
    void InvalidateArea(const Bounds& area);

    // Paints what this window shows in area (background and windowless controls, not child
    // windows) onto dc, whose origin stands for area's top-left corner. Child windows that look
    // transparent use it to draw their background.
    void PaintUnder(HDC dc, const Bounds& area) const;

    // The topmost visible, enabled control at a client point, or nullptr.
    Control* ControlAt(int x, int y) const;
    const std::vector<Control*>& Controls() const { return controls_; }

    // Membership, kept by Control itself.
    void Add(Control& control);
    void Remove(Control& control);
    // The control no longer takes part in mouse tracking (hidden or going away).
    void Forget(Control& control);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

private:
    void OnPaint();
    void RouteMouse(UINT message, WPARAM wparam, LPARAM lparam);
    void TrackHot(Control* target);
    void StartLeaveTracking();

    std::vector<Control*> controls_;
    Control* hot_ = nullptr;  // the control the cursor is over, for its leave notice
    bool tracking_ = false;
    bool double_buffered_ = false;
    COLORREF color_ = clBtnFace();
};

}  // namespace setup::gui
