#include "platform/win32/message_box.h"

#include <cstring>
#include <string>

#include "platform/win32/handles.h"

namespace setup::win32 {

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

int ShowMessageBox(HWND owner, std::string_view text, const char* caption, UINT flags,
                   bool english_buttons) {
    UniqueHook hook;
    if (english_buttons)
        hook.reset(SetWindowsHookExA(WH_CBT, RenameButtons, nullptr, GetCurrentThreadId()));
    const std::string text_z(text);
    flags |= owner ? MB_APPLMODAL : MB_TASKMODAL;
    return MessageBoxA(owner, text_z.c_str(), caption, flags);
}

}  // namespace setup::win32
