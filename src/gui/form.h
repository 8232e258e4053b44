// A top-level window hosting windowless controls, its timers and its page panels. It opens
// hidden; Show makes it visible. Close hides it and, for the main form, ends the message loop.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "gui/container.h"

namespace setup::gui {

class Timer;

// Sent to child windows to offer them an accelerator character (wparam); nonzero = taken.
inline constexpr UINT kDialogCharMessage = WM_APP + 0x101;

class Form : public Container {
public:
    // Creates the window at once, hidden, with a caption and system menu.
    explicit Form(const std::string& title);
    ~Form() override;

    int ClientWidth() const;
    int ClientHeight() const;
    // Sets the client size when it differs; the window's frame is added around it.
    void SetClientWidth(int width);
    void SetClientHeight(int height);
    int Left() const { return GetBounds().left; }
    int Top() const { return GetBounds().top; }
    int Width() const { return GetBounds().width; }
    int Height() const { return GetBounds().height; }
    void SetPosition(int left, int top);

    // Runs OnShow, then makes the window visible (OnShow may still size and place it).
    void Show();
    // Asks OnCloseQuery, then hides the window and runs OnClose; a main form then ends the
    // message loop.
    void Close();
    void SetMainForm(bool main) { main_form_ = main; }

    // Offers an Alt+letter key to the form's child windows as an accelerator; for the message
    // loop, which sees the key whichever child has the focus. True when one took it.
    bool HandleDialogChar(const MSG& message);

    NotifyEvent OnShow;
    NotifyEvent OnResize;
    NotifyEvent OnClose;
    // Whether the form may close now; without it, it always may.
    std::function<bool()> OnCloseQuery;
    // The next message of a step chain (gui/step_chain.h), which sets it.
    NotifyEvent OnStepChain;

    // Membership of timers, kept by Timer itself.
    void AddTimer(Timer& timer);
    void RemoveTimer(Timer& timer);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

private:
    void SetClientSize(int width, int height);
    bool OfferDialogChar(char key);

    std::vector<Timer*> timers_;
    HWND focus_ = nullptr;  // the child that had the focus when the form was last deactivated
    bool main_form_ = false;
};

// A child window without bevel that hosts windowless controls, such as a wizard page.
class Panel : public Container {
public:
    Panel(Container& parent, const Bounds& bounds);
};

}  // namespace setup::gui
