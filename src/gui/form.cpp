#include "gui/form.h"

#include <algorithm>

#include "gui/step_chain.h"
#include "gui/timer.h"

namespace setup::gui {

Form::Form(const std::string& title) {
    CreateHandle({"SetupForm", CS_DBLCLKS}, 0,
                 WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN |
                     WS_CLIPSIBLINGS,
                 title.c_str(), {CW_USEDEFAULT, CW_USEDEFAULT, 300, 200}, nullptr);
}

Form::~Form() {
    OnShow = nullptr;
    OnResize = nullptr;
    OnClose = nullptr;
    OnStepChain = nullptr;
    DestroyHandle();
}

int Form::ClientWidth() const {
    RECT r{};
    GetClientRect(Handle(), &r);
    return r.right;
}

int Form::ClientHeight() const {
    RECT r{};
    GetClientRect(Handle(), &r);
    return r.bottom;
}

void Form::SetClientWidth(int width) {
    SetClientSize(width, ClientHeight());
}
void Form::SetClientHeight(int height) {
    SetClientSize(ClientWidth(), height);
}

void Form::SetClientSize(int width, int height) {
    if (!Handle() || (width == ClientWidth() && height == ClientHeight())) return;
    RECT window{}, client{};
    GetWindowRect(Handle(), &window);
    GetClientRect(Handle(), &client);
    // The frame is what the window has around its client area now.
    const int frame_w = (window.right - window.left) - client.right;
    const int frame_h = (window.bottom - window.top) - client.bottom;
    SetWindowPos(Handle(), nullptr, 0, 0, width + frame_w, height + frame_h,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::SetPosition(int left, int top) {
    SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::Show() {
    if (OnShow) OnShow();
    ShowWindow(Handle(), SW_SHOW);
    UpdateWindow(Handle());
}

void Form::Close() {
    if (OnCloseQuery && !OnCloseQuery()) return;
    ShowWindow(Handle(), SW_HIDE);
    if (OnClose) OnClose();
    if (main_form_) PostQuitMessage(0);
}

void Form::AddTimer(Timer& timer) {
    timers_.push_back(&timer);
}
void Form::RemoveTimer(Timer& timer) {
    std::erase(timers_, &timer);
}

namespace {

struct DialogCharOffer {
    char key;
    bool taken = false;
};

BOOL CALLBACK OfferToChild(HWND child, LPARAM param) {
    auto* offer = reinterpret_cast<DialogCharOffer*>(param);
    if (IsWindowVisible(child) && IsWindowEnabled(child) &&
        SendMessageA(child, kDialogCharMessage, static_cast<unsigned char>(offer->key), 0)) {
        offer->taken = true;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

bool Form::OfferDialogChar(char key) {
    DialogCharOffer offer{key};
    EnumChildWindows(Handle(), &OfferToChild, reinterpret_cast<LPARAM>(&offer));
    return offer.taken;
}

bool Form::HandleDialogChar(const MSG& message) {
    if (message.message != WM_SYSCHAR || !Handle()) return false;
    if (message.hwnd != Handle() && !IsChild(Handle(), message.hwnd)) return false;
    return OfferDialogChar(static_cast<char>(message.wParam));
}

LRESULT Form::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_SIZE:
            // A minimised window has no client area to lay out.
            if (wparam != SIZE_MINIMIZED && OnResize) OnResize();
            return 0;
        case WM_TIMER:
            for (Timer* timer : timers_) {
                if (timer->Id() == wparam) {
                    timer->Tick();
                    return 0;
                }
            }
            break;
        case kStepChainMessage:
            if (OnStepChain) OnStepChain();
            return 0;
        case WM_SYSCHAR:
            if (OfferDialogChar(static_cast<char>(wparam))) return 0;
            break;
        case WM_CLOSE:
            Close();
            return 0;
        case WM_ACTIVATE:
            // Give the keyboard focus back to the control that had it when the form last lost
            // activation (to a message box or a dialog of its own), as a dialog does.
            if (LOWORD(wparam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus && IsChild(Handle(), focus)) focus_ = focus;
            } else if (focus_ && IsChild(Handle(), focus_) && IsWindowVisible(focus_) &&
                       IsWindowEnabled(focus_)) {
                SetFocus(focus_);
                return 0;
            }
            break;
    }
    return Container::HandleMessage(message, wparam, lparam);
}

Panel::Panel(Container& parent, const Bounds& bounds) {
    CreateHandle({"SetupPanel", CS_DBLCLKS}, WS_EX_CONTROLPARENT,
                 WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, "", bounds,
                 parent.Handle());
}

}  // namespace setup::gui
