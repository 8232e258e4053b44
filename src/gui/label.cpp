#include "gui/label.h"

#include "gui/container.h"
#include "gui/draw.h"
#include "platform/win32/handles.h"

namespace setup::gui {

Label::Label(Container& parent) : Control(parent), font_(std::make_shared<Font>()) {}

void Label::SetBounds(const Bounds& bounds) {
    Control::SetBounds(bounds);
    AdjustBounds();
}

void Label::SetCaption(const std::string& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    AdjustBounds();
    Invalidate();
}

void Label::SetFont(const FontSpec& spec) {
    if (spec == font_->Spec()) return;
    font_ = std::make_shared<Font>(spec);
    AdjustBounds();
    Invalidate();
}

void Label::SetAlignment(Alignment alignment) {
    alignment_ = alignment;
    Invalidate();
}

void Label::SetTransparent(bool transparent) {
    transparent_ = transparent;
    Invalidate();
}

void Label::SetAutoSize(bool auto_size) {
    auto_size_ = auto_size;
    AdjustBounds();
}

void Label::SetColor(COLORREF color) {
    color_ = color;
    Invalidate();
}

// Texts are shown as they are: an ampersand in a file name is no accelerator.
UINT Label::TextFormat() const {
    UINT format = DT_EXPANDTABS | DT_NOPREFIX;
    if (alignment_ == Alignment::Center) format |= DT_CENTER;
    if (alignment_ == Alignment::Right) format |= DT_RIGHT;
    return format;
}

void Label::AdjustBounds() {
    if (!auto_size_) return;
    HDC dc = MeasuringDc();
    if (!dc) return;
    RECT r{0, 0, Width(), Height()};
    {
        win32::SelectGuard use(dc, font_->Handle());
        // An empty label keeps the height of one line.
        const std::string& text = caption_.empty() ? std::string(" ") : caption_;
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, TextFormat() | DT_CALCRECT);
    }
    int left = Left();
    if (alignment_ == Alignment::Right) left += Width() - r.right;
    Control::SetBounds({left, Top(), r.right, r.bottom});
}

void Label::Paint(HDC dc) {
    RECT r{0, 0, Width(), Height()};
    if (!transparent_) FillSolid(dc, r, color_);
    if (caption_.empty()) return;
    win32::SelectGuard use(dc, font_->Handle());
    int old_mode = SetBkMode(dc, TRANSPARENT);
    COLORREF old_color = SetTextColor(dc, Enabled() ? font_->Color() : clGrayText());
    DrawTextA(dc, caption_.c_str(), static_cast<int>(caption_.size()), &r, TextFormat());
    SetTextColor(dc, old_color);
    SetBkMode(dc, old_mode);
}

}  // namespace setup::gui
