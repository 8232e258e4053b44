// Child windows of the system's own list, combo and button classes, for plain dialogs. Their
// notifications (WM_COMMAND, WM_DRAWITEM, WM_MEASUREITEM) go to the parent window, which tells
// them apart by Handle().
#pragma once

#include <string>

#include "gui/child_window.h"

namespace setup::gui {

class PushButton : public ChildWindow {
public:
    PushButton(Container& parent, const Bounds& bounds, const std::string& caption);
};

// An owner-drawn list with fixed item height; the parent draws the items.
class ListBox : public ChildWindow {
public:
    ListBox(Container& parent, const Bounds& bounds, int item_height);

    void Clear();
    void Add(const std::string& text);
    int Count() const;
    int ItemIndex() const;
    void SetItemIndex(int index);
};

// An owner-drawn drop-down list with fixed item height; the parent draws the items.
class ComboBox : public ChildWindow {
public:
    ComboBox(Container& parent, const Bounds& bounds, int item_height);

    void Clear();
    void Add(const std::string& text);
    int ItemIndex() const;
    void SetItemIndex(int index);
};

}  // namespace setup::gui
