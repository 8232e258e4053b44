#include "gui/window.h"

#include "gui/errors.h"

namespace setup::gui {

ShiftState ShiftFromKeys(WPARAM keys) {
    ShiftState shift = 0;
    if (keys & MK_SHIFT) shift |= ssShift;
    if (keys & MK_CONTROL) shift |= ssCtrl;
    if (keys & MK_LBUTTON) shift |= ssLeft;
    if (keys & MK_RBUTTON) shift |= ssRight;
    if (keys & MK_MBUTTON) shift |= ssMiddle;
    if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
    return shift;
}

Window::~Window() {
    DestroyHandle();
}

bool Window::CreateHandle(const ClassSpec& spec, DWORD ex_style, DWORD style, const char* title,
                          const Bounds& bounds, HWND parent) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof(existing);
    if (!GetClassInfoExA(instance, spec.name, &existing)) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof(wc);
        wc.style = spec.style;
        wc.lpfnWndProc = &Window::Procedure;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        wc.lpszClassName = spec.name;
        if (!RegisterClassExA(&wc)) return false;
    }
    CreateWindowExA(ex_style, spec.name, title, style, bounds.left, bounds.top, bounds.width,
                    bounds.height, parent, nullptr, instance, this);
    return hwnd_ != nullptr;
}

void Window::DestroyHandle() {
    if (hwnd_) DestroyWindow(hwnd_);  // WM_NCDESTROY clears hwnd_
    hwnd_ = nullptr;
}

LRESULT Window::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    return DefaultMessage(message, wparam, lparam);
}

LRESULT Window::DefaultMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    return DefWindowProcA(hwnd_, message, wparam, lparam);
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    Window* self;
    if (message == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->hwnd_ = hwnd;
    } else {
        self = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcA(hwnd, message, wparam, lparam);

    LRESULT result = 0;
    try {
        result = self->HandleMessage(message, wparam, lparam);
    } catch (...) {
        // The fixed catch points sit inside the handlers; this one only keeps the stack sound.
        ReportError(hwnd, CurrentExceptionText());
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

Bounds Window::GetBounds() const {
    return ChildBounds(hwnd_);
}
void Window::SetBounds(const Bounds& bounds) {
    MoveChild(hwnd_, bounds);
}
bool Window::Visible() const {
    return hwnd_ && (GetWindowLongA(hwnd_, GWL_STYLE) & WS_VISIBLE);
}
void Window::SetVisible(bool visible) {
    if (hwnd_ && visible != Visible()) ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}
bool Window::Enabled() const {
    return hwnd_ && IsWindowEnabled(hwnd_);
}
void Window::SetEnabled(bool enabled) {
    if (hwnd_) EnableWindow(hwnd_, enabled);
}
bool Window::Focused() const {
    return hwnd_ && GetFocus() == hwnd_;
}

Bounds ChildBounds(HWND window) {
    RECT r{};
    if (!window || !GetWindowRect(window, &r)) return {};
    if (HWND parent = GetAncestor(window, GA_PARENT); parent && parent != GetDesktopWindow())
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void MoveChild(HWND window, const Bounds& bounds) {
    if (!window || ChildBounds(window) == bounds) return;
    SetWindowPos(window, nullptr, bounds.left, bounds.top, bounds.width, bounds.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace setup::gui
