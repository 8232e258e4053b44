#include "platform/win32/input_box.h"

#include <cstdint>
#include <vector>

namespace setup::win32 {

namespace {

constexpr int kEditId = 100;

// Builds a dialog template in memory, so the box needs no resource of its own.
class TemplateWriter {
public:
    void Word(WORD value) { bytes_.push_back(value); }
    void Dword(DWORD value) {
        Word(LOWORD(value));
        Word(HIWORD(value));
    }
    // Template strings are UTF-16; the texts come in the ANSI code page.
    void Text(const std::string& text) {
        int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
        std::vector<wchar_t> wide(length > 0 ? length : 1, L'\0');
        if (length > 0) MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length);
        for (wchar_t c : wide) Word(static_cast<WORD>(c));
    }
    void AlignDword() {
        if (bytes_.size() % 2) Word(0);
    }
    void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD atom,
              const std::string& text) {
        AlignDword();
        Dword(style | WS_CHILD | WS_VISIBLE);
        Dword(0);
        for (short v : {x, y, cx, cy}) Word(static_cast<WORD>(v));
        Word(id);
        Word(0xFFFF);  // predefined class by atom
        Word(atom);
        Text(text);
        Word(0);  // no creation data
    }
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()); }

private:
    std::vector<WORD> bytes_;
};

struct BoxState {
    const std::string* default_text;
    std::string result;
};

INT_PTR CALLBACK BoxProc(HWND box, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* state = reinterpret_cast<BoxState*>(GetWindowLongPtrA(box, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG:
            SetWindowLongPtrA(box, DWLP_USER, lparam);
            state = reinterpret_cast<BoxState*>(lparam);
            SetDlgItemTextA(box, kEditId, state->default_text->c_str());
            SendDlgItemMessageA(box, kEditId, EM_SETSEL, 0, -1);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wparam) == IDOK) {
                HWND edit = GetDlgItem(box, kEditId);
                std::string text(static_cast<std::size_t>(GetWindowTextLengthA(edit)) + 1, '\0');
                text.resize(static_cast<std::size_t>(GetWindowTextA(edit, text.data(),
                                                                     static_cast<int>(text.size()))));
                state->result = text;
                EndDialog(box, IDOK);
                return TRUE;
            }
            if (LOWORD(wparam) == IDCANCEL) {
                EndDialog(box, IDCANCEL);
                return TRUE;
            }
            break;
    }
    return FALSE;
}

}  // namespace

std::string InputBox(HWND owner, const std::string& caption, const std::string& prompt,
                     const std::string& default_text) {
    TemplateWriter t;
    t.Dword(DS_MODALFRAME | DS_CENTER | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU);
    t.Dword(0);
    t.Word(4);  // items
    for (short v : {0, 0, 180, 63}) t.Word(static_cast<WORD>(v));
    t.Word(0);  // no menu
    t.Word(0);  // default class
    t.Text(caption);
    t.Word(8);
    t.Text("MS Sans Serif");
    t.Item(SS_LEFT, 6, 6, 168, 9, 0xFFFF, 0x0082, prompt);
    t.Item(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 6, 18, 168, 12, kEditId, 0x0081, "");
    t.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, 70, 40, 50, 14, IDOK, 0x0080, "OK");
    t.Item(BS_PUSHBUTTON | WS_TABSTOP, 124, 40, 50, 14, IDCANCEL, 0x0080, "Cancel");

    BoxState state{&default_text, default_text};
    INT_PTR answer = DialogBoxIndirectParamA(GetModuleHandleA(nullptr), t.Get(), owner, BoxProc,
                                             reinterpret_cast<LPARAM>(&state));
    return answer == IDOK ? state.result : default_text;
}

}  // namespace setup::win32
