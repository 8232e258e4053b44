#include "gui/standard_controls.h"

namespace setup::gui {

PushButton::PushButton(Container& parent, const Bounds& bounds, const std::string& caption) {
    Create("BUTTON", 0, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, parent, bounds,
           caption);
}

ListBox::ListBox(Container& parent, const Bounds& bounds, int item_height) {
    Create("LISTBOX", 0,
           WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY |
               LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT,
           parent, bounds, "");
    SendMessageA(Handle(), LB_SETITEMHEIGHT, 0, item_height);
}

void ListBox::Clear() { SendMessageA(Handle(), LB_RESETCONTENT, 0, 0); }

void ListBox::Add(const std::string& text) {
    SendMessageA(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

int ListBox::Count() const { return static_cast<int>(SendMessageA(Handle(), LB_GETCOUNT, 0, 0)); }

int ListBox::ItemIndex() const {
    return static_cast<int>(SendMessageA(Handle(), LB_GETCURSEL, 0, 0));
}

void ListBox::SetItemIndex(int index) { SendMessageA(Handle(), LB_SETCURSEL, index, 0); }

// The height given is the closed box's; the drop-down list below it gets room for ten items.
ComboBox::ComboBox(Container& parent, const Bounds& bounds, int item_height) {
    Bounds with_list = bounds;
    with_list.height = bounds.height + 10 * item_height;
    Create("COMBOBOX", 0,
           WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST |
               CBS_OWNERDRAWFIXED | CBS_HASSTRINGS,
           parent, with_list, "");
    SendMessageA(Handle(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), bounds.height - 6);
    SendMessageA(Handle(), CB_SETITEMHEIGHT, 0, item_height);
}

void ComboBox::Clear() { SendMessageA(Handle(), CB_RESETCONTENT, 0, 0); }

void ComboBox::Add(const std::string& text) {
    SendMessageA(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

int ComboBox::ItemIndex() const {
    return static_cast<int>(SendMessageA(Handle(), CB_GETCURSEL, 0, 0));
}

void ComboBox::SetItemIndex(int index) { SendMessageA(Handle(), CB_SETCURSEL, index, 0); }

}  // namespace setup::gui
