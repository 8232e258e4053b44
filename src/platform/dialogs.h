// The modal message dialogs: the warning question, the error message and the plain box.
#pragma once

#include <string_view>

namespace setup {

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // Caption "Warning", warning icon, buttons "&Yes" and "&No". True only for Yes: closing the
    // dialog any other way (Escape, the close box) counts as No.
    virtual bool AskWarning(std::string_view text) = 0;
    // Caption "Error", error icon, one button "OK".
    virtual void ShowError(std::string_view text) = 0;
    // No icon, one OK button, the application title as caption.
    virtual void ShowPlain(std::string_view text) = 0;
};

}  // namespace setup
