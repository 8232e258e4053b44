// The one way the installer shows a message box, whoever asks: the installation's questions and
// errors (Win32Dialogs) and the errors that reach a catch point of the window (gui::ReportError).
#pragma once

#include <windows.h>

#include <string_view>

namespace setup::win32 {

// A modal message box. With english_buttons the buttons read "&Yes", "&No" and "OK" on every
// system language, as the runtime library's dialogs always did. Returns the button pressed.
int ShowMessageBox(HWND owner, std::string_view text, const char* caption, UINT flags,
                   bool english_buttons);

}  // namespace setup::win32
