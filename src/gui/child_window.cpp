#include "gui/child_window.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>
#include <string_view>

#include "platform/text.h"
#include "platform/win32/system_library.h"
#include "gui/window.h"

namespace setup::gui {

ChildWindow::~ChildWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
}

void ChildWindow::Create(const char* class_name, DWORD ex_style, DWORD style, Container& parent,
                         const Bounds& bounds, const std::string& text) {
    hwnd_ = CreateWindowExA(ex_style, class_name, text.c_str(), style, bounds.left, bounds.top,
                            bounds.width, bounds.height, parent.Handle(), nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    SetFont(FontSpec{});
}

Bounds ChildWindow::GetBounds() const {
    return ChildBounds(hwnd_);
}
void ChildWindow::SetBounds(const Bounds& bounds) {
    MoveChild(hwnd_, bounds);
}
bool ChildWindow::Visible() const {
    return hwnd_ && (GetWindowLongA(hwnd_, GWL_STYLE) & WS_VISIBLE);
}
void ChildWindow::SetVisible(bool visible) {
    if (hwnd_ && visible != Visible()) ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}
bool ChildWindow::Enabled() const {
    return hwnd_ && IsWindowEnabled(hwnd_);
}
void ChildWindow::SetEnabled(bool enabled) {
    if (hwnd_) EnableWindow(hwnd_, enabled);
}

std::string ChildWindow::Text() const {
    if (!hwnd_) return {};
    // A rich edit counts characters, not bytes: room for two bytes each.
    std::string text(2 * static_cast<std::size_t>(GetWindowTextLengthA(hwnd_)) + 1, '\0');
    int n = GetWindowTextA(hwnd_, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(std::max(n, 0)));
    return text;
}

void ChildWindow::SetText(const std::string& text) {
    if (hwnd_) SetWindowTextA(hwnd_, text.c_str());
}

void ChildWindow::SetFont(const FontSpec& spec) {
    auto font = std::make_unique<Font>(spec);
    if (hwnd_) SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font->Handle()), TRUE);
    font_ = std::move(font);  // the old font goes only after the window has let go of it
}

const FontSpec& ChildWindow::GetFont() const {
    return font_->Spec();
}

Edit::Edit(Container& parent, const Bounds& bounds, const std::string& text) {
    Create("EDIT", 0, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, parent,
           bounds, text);
}

Memo::Memo(Container& parent, const Bounds& bounds) {
    Create("EDIT", 0,
           WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | WS_VSCROLL | ES_MULTILINE |
               ES_READONLY | ES_AUTOVSCROLL,
           parent, bounds, "");
    // No length limit: the list holds whatever it is given.
    SendMessageA(Handle(), EM_SETLIMITTEXT, 0, 0);
}

namespace {

// The rich edit classes stay registered for the life of the process.
bool LoadRichEditLibrary() {
    static const HMODULE module = win32::LoadSystemLibrary("riched20.dll");
    return module != nullptr;
}

struct TextSource {
    const std::string* text;
    std::size_t offset = 0;
};

DWORD CALLBACK ReadTextChunk(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* read) {
    auto* source = reinterpret_cast<TextSource*>(cookie);
    const std::string_view rest = std::string_view(*source->text).substr(source->offset);
    // Each chunk is converted on its own: a double-byte character must not be split between two.
    std::size_t n =
        text::CutToBytes(rest, static_cast<std::size_t>(std::max<LONG>(size, 0))).size();
    if (n == 0 && !rest.empty() && size > 0) n = 1;
    std::memcpy(buffer, source->text->data() + source->offset, n);
    source->offset += n;
    *read = static_cast<LONG>(n);
    return 0;
}

}  // namespace

RichEdit::RichEdit(Container& parent, const Bounds& bounds) {
    LoadRichEditLibrary();
    Create(RICHEDIT_CLASSA, 0,
           WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY |
               ES_AUTOVSCROLL,
           parent, bounds, "");
}

void RichEdit::SetPlainText(const std::string& text) {
    if (!Handle()) return;
    // The default limit of 32767 characters would cut a long text silently.
    SendMessageA(Handle(), EM_EXLIMITTEXT, 0,
                 static_cast<LPARAM>(std::max<std::size_t>(text.size() + 1, 32767)));
    TextSource source{&text};
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, &ReadTextChunk};
    SendMessageA(Handle(), EM_STREAMIN, SF_TEXT, reinterpret_cast<LPARAM>(&stream));
    SendMessageA(Handle(), EM_SETSEL, 0, 0);
    SendMessageA(Handle(), EM_SCROLLCARET, 0, 0);
}

}  // namespace setup::gui
