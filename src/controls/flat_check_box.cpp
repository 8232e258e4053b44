#include "controls/flat_check_box.h"

#include <windowsx.h>

#include "gui/bitmap.h"
#include "gui/draw.h"
#include "gui/errors.h"
#include "gui/form.h"
#include "platform/win32/handles.h"

namespace setup::controls {

namespace {

RECT ToRect(const Edges& r) {
    return RECT{r.left, r.top, r.right, r.bottom};
}

}  // namespace

TFlatCheckBox::TFlatCheckBox(gui::Container& parent, const gui::Bounds& bounds,
                             const std::string& caption)
    : parent_(parent),
      caption_(caption),
      font_(std::make_unique<gui::Font>(
          gui::FontSpec{"Arial", 14, DEFAULT_CHARSET, gui::clWindowText()})) {
    CreateHandle({"SetupFlatCheckBox", CS_DBLCLKS}, 0,
                 WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS, caption.c_str(), bounds,
                 parent.Handle());
}

void TFlatCheckBox::SetChecked(bool value) {
    model_.WriteChecked(value);
    Repaint();
    Clicked();
}

void TFlatCheckBox::SetState(CheckBoxState state) {
    model_.WriteState(state);
    Repaint();
    Clicked();
}

void TFlatCheckBox::SetCaption(const std::string& caption) {
    caption_ = caption;
    if (Handle()) SetWindowTextA(Handle(), caption.c_str());
    Repaint();
}

void TFlatCheckBox::SetDefaultFont(const gui::FontSpec& spec) {
    font_ = std::make_unique<gui::Font>(spec);
    Repaint();
}

void TFlatCheckBox::Repaint() {
    if (Handle()) InvalidateRect(Handle(), nullptr, FALSE);
}

void TFlatCheckBox::Clicked() {
    gui::RunReportingErrors(Handle(), [&] {
        if (OnClick) OnClick();
    });
}

void TFlatCheckBox::SetMouseIn(bool in) {
    if (in == mouse_in_) return;
    mouse_in_ = in;
    Repaint();
}

void TFlatCheckBox::PaintTo(HDC dc) {
    const gui::Bounds b = GetBounds();
    const int w = b.width, h = b.height;
    parent_.PaintUnder(dc, b);

    win32::SelectGuard use_font(dc, font_->Handle());
    int old_mode = SetBkMode(dc, TRANSPARENT);
    RECT measured{0, 0, 0, 0};
    DrawTextA(dc, caption_.c_str(), static_cast<int>(caption_.size()), &measured,
              DT_SINGLELINE | DT_CALCRECT);
    const Edges caption =
        CheckCaptionRect(w, h, measured.right - measured.left, measured.bottom - measured.top);
    RECT text_rect = ToRect(caption);
    COLORREF old_color =
        SetTextColor(dc, IsWindowEnabled(Handle()) ? font_->Color() : gui::clBtnShadow());
    DrawTextA(dc, caption_.c_str(), static_cast<int>(caption_.size()), &text_rect,
              DT_SINGLELINE | DT_VCENTER);
    SetTextColor(dc, old_color);
    SetBkMode(dc, old_mode);

    gui::DrawOutline(dc, ToRect(CheckBoxRect(h)), mouse_in_ ? gui::clNavy : gui::clBtnShadow());

    COLORREF mark = gui::clBlack;
    bool draw_mark = true;
    if (model_.State() == CheckBoxState::Grayed)
        mark = gui::clGrayText();
    else if (model_.Checked())
        mark = IsWindowEnabled(Handle()) ? gui::clBlack : gui::clBtnShadow();
    else
        draw_mark = false;
    if (draw_mark) {
        for (int i = 0; i < 3; ++i) {
            auto stroke = CheckMarkStroke(h, i);
            POINT points[3];
            for (int k = 0; k < 3; ++k) points[k] = POINT{stroke[k].x, stroke[k].y};
            gui::DrawPolyline(dc, points, 3, mark);
        }
    }

    if (Focused() && can_focused_ && !caption_.empty()) {
        RECT focus = ToRect(CheckFocusRect(caption));
        DrawFocusRect(dc, &focus);
    }
}

void TFlatCheckBox::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    const gui::Bounds b = GetBounds();
    if (b.width > 0 && b.height > 0) {
        try {
            gui::Bitmap buffer(b.width, b.height);
            PaintTo(buffer.Dc());
            BitBlt(dc, 0, 0, b.width, b.height, buffer.Dc(), 0, 0, SRCCOPY);
        } catch (...) {
            // No memory for the buffer: the box stays as it was until the next paint.
        }
    }
    EndPaint(Handle(), &ps);
}

void TFlatCheckBox::OnPress(int x, int y, gui::ShiftState shift) {
    if (GetFocus() != Handle()) {
        SetFocus(Handle());
        if (GetFocus() != Handle()) return;
    }
    SetMouseIn(true);
    if (OnMouseDown) OnMouseDown(gui::MouseButton::Left, shift, x, y);
}

void TFlatCheckBox::OnRelease(int x, int y, gui::ShiftState shift) {
    if (OnMouseUp) OnMouseUp(gui::MouseButton::Left, shift, x, y);
    if (mouse_in_) Toggle();
}

LRESULT TFlatCheckBox::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    const int x = GET_X_LPARAM(lparam), y = GET_Y_LPARAM(lparam);
    switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            OnPress(x, y, gui::ShiftFromKeys(wparam));
            return 0;
        case WM_LBUTTONUP:
            OnRelease(x, y, gui::ShiftFromKeys(wparam));
            return 0;
        case WM_MOUSEMOVE:
            if (!mouse_in_) {
                TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, Handle(), 0};
                TrackMouseEvent(&tme);
                SetMouseIn(true);
            }
            return 0;
        case WM_MOUSELEAVE:
            SetMouseIn(false);
            return 0;
        case WM_KEYUP:
            if (wparam == VK_SPACE) Toggle();
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_MOVE:
        case WM_SIZE:
            Repaint();
            return 0;
        case WM_ENABLE:
            mouse_in_ = false;
            Repaint();
            return 0;
        case WM_SYSCHAR:
            // Alt+letter goes to the form, which offers it to every box.
            if (HWND root = GetAncestor(Handle(), GA_ROOT); root && root != Handle())
                return SendMessageA(root, message, wparam, lparam);
            break;
        case gui::kDialogCharMessage:
            if (!IsAccelerator(static_cast<char>(wparam), caption_)) return 0;
            SetFocus(Handle());
            Toggle();
            return 1;
    }
    return Window::HandleMessage(message, wparam, lparam);
}

}  // namespace setup::controls
