#include "platform/win32/win32_dialogs.h"

#include <windows.h>

#include "platform/application_title.h"
#include "platform/win32/message_box.h"

namespace setup {

int Win32Dialogs::Show(std::string_view text, const char* caption, unsigned flags,
                       bool english_buttons) {
    return win32::ShowMessageBox(reinterpret_cast<HWND>(owner_), text, caption, flags,
                                 english_buttons);
}

bool Win32Dialogs::AskWarning(std::string_view text) {
    // Escape or the close box give IDCANCEL under some systems: all that is not Yes is No.
    return Show(text, "Warning", MB_YESNO | MB_ICONWARNING, true) == IDYES;
}

void Win32Dialogs::ShowError(std::string_view text) {
    Show(text, "Error", MB_OK | MB_ICONERROR, true);
}

void Win32Dialogs::ShowPlain(std::string_view text) {
    Show(text, kApplicationTitle, MB_OK, false);
}

}  // namespace setup
