// The message dialogs through the one message box (message_box.h). The warning and error dialogs
// carry the English button texts "&Yes", "&No" and "OK" on every system language; the plain box
// has the application title as caption.
#pragma once

#include <string>

#include "platform/dialogs.h"
#include "platform/window_handle.h"

namespace setup {

class Win32Dialogs final : public Dialogs {
public:
    // The window the dialogs are modal to; 0 makes them modal to the whole thread.
    void SetOwner(WindowHandle owner) { owner_ = owner; }

    bool AskWarning(std::string_view text) override;
    void ShowError(std::string_view text) override;
    void ShowPlain(std::string_view text) override;

private:
    int Show(std::string_view text, const char* caption, unsigned flags, bool english_buttons);

    WindowHandle owner_ = 0;
};

}  // namespace setup
