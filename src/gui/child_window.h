// Child windows of the system's own classes (edit, rich edit), owned by an object: the window is
// destroyed with it. Their font objects live as long as they do.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "gui/container.h"
#include "gui/font.h"

namespace setup::gui {

class ChildWindow {
public:
    ChildWindow(const ChildWindow&) = delete;
    ChildWindow& operator=(const ChildWindow&) = delete;
    virtual ~ChildWindow();

    HWND Handle() const { return hwnd_; }
    Bounds GetBounds() const;
    void SetBounds(const Bounds& bounds);
    bool Visible() const;
    void SetVisible(bool visible);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    std::string Text() const;
    void SetText(const std::string& text);
    void SetFont(const FontSpec& spec);
    const FontSpec& GetFont() const;

protected:
    ChildWindow() = default;
    void Create(const char* class_name, DWORD ex_style, DWORD style, Container& parent,
                const Bounds& bounds, const std::string& text);

private:
    HWND hwnd_ = nullptr;
    std::unique_ptr<Font> font_;
};

// A single-line edit with a flat single-line border.
class Edit : public ChildWindow {
public:
    Edit(Container& parent, const Bounds& bounds, const std::string& text);
};

// A read-only multi-line edit with a vertical scroll bar, for a list of lines.
class Memo : public ChildWindow {
public:
    Memo(Container& parent, const Bounds& bounds);
};

// A read-only rich edit for plain text: vertical scroll bar only, no border, lines wrapped at
// the control's width.
class RichEdit : public ChildWindow {
public:
    RichEdit(Container& parent, const Bounds& bounds);

    // Replaces the whole text by plain text in the system code page. Text that happens to look
    // like rich text is shown as it is, and no length limit cuts it.
    void SetPlainText(const std::string& text);
};

}  // namespace setup::gui
