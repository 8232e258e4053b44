#include "platform/win32/win32_dialogs.h"

#include <windows.h>

#include <cstring>

#include "platform/win32/handles.h"

namespace setup {
namespace {

// The system draws the buttons in its own language (是/否/确定 on Chinese systems). A hook on this
// thread renames them when the message box is first activated, before it is shown.
LRESULT CALLBACK RenameButtons(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HCBT_ACTIVATE) {
        HWND box = reinterpret_cast<HWND>(wparam);
        char window_class[16] = {};
        GetClassNameA(box, window_class, sizeof window_class);
        if (std::strcmp(window_class, "#32770") == 0) {
            SetDlgItemTextA(box, IDYES, "&Yes");
            SetDlgItemTextA(box, IDNO, "&No");
            SetDlgItemTextA(box, IDOK, "OK");
        }
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

}  // namespace

int Win32Dialogs::Show(std::string_view text, const char* caption, unsigned flags,
                       bool english_buttons) {
    win32::UniqueHook hook;
    if (english_buttons)
        hook.reset(SetWindowsHookExA(WH_CBT, RenameButtons, nullptr, GetCurrentThreadId()));
    std::string text_z(text);
    flags |= owner_ ? MB_APPLMODAL : MB_TASKMODAL;
    return MessageBoxA(reinterpret_cast<HWND>(owner_), text_z.c_str(), caption, flags);
}

bool Win32Dialogs::AskWarning(std::string_view text) {
    // Escape or the close box give IDCANCEL under some systems: all that is not Yes is No.
    return Show(text, "Warning", MB_YESNO | MB_ICONWARNING, true) == IDYES;
}

void Win32Dialogs::ShowError(std::string_view text) {
    Show(text, "Error", MB_OK | MB_ICONERROR, true);
}

void Win32Dialogs::ShowPlain(std::string_view text) {
    Show(text, application_title_.c_str(), MB_OK, false);
}

}  // namespace setup
