// Base of every window class of the library: a static window procedure that stores `this` at
// WM_NCCREATE and hands each message to the member HandleMessage. No exception ever leaves the
// window procedure: one that escapes a handler is reported there as a last resort.
#pragma once

#include <windows.h>

#include "gui/types.h"

namespace setup::gui {

class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Handle() const { return hwnd_; }

    // The window's place in its parent's client area (screen coordinates for a top-level one).
    Bounds GetBounds() const;
    void SetBounds(const Bounds& bounds);
    bool Visible() const;
    void SetVisible(bool visible);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    bool Focused() const;

protected:
    struct ClassSpec {
        const char* name;
        UINT style = 0;
    };
    // Registers the class on first use and creates the window; false when creation failed.
    bool CreateHandle(const ClassSpec& spec, DWORD ex_style, DWORD style, const char* title,
                      const Bounds& bounds, HWND parent);
    void DestroyHandle();

    virtual LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT DefaultMessage(UINT message, WPARAM wparam, LPARAM lparam);

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

    HWND hwnd_ = nullptr;
};

// Bounds of any child window relative to its parent, and the same for setting them.
Bounds ChildBounds(HWND window);
void MoveChild(HWND window, const Bounds& bounds);

}  // namespace setup::gui
