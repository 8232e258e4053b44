// A windowless text label. Transparent labels draw their text over what lies below them; an
// auto-sized label always has the size of its text: new bounds move it, the text sizes it.
#pragma once

#include <memory>
#include <string>

#include "gui/control.h"
#include "gui/font.h"

namespace setup::gui {

enum class Alignment { Left, Center, Right };

class Label : public Control {
public:
    explicit Label(Container& parent);

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    const FontSpec& GetFont() const { return font_->Spec(); }
    void SetFont(const FontSpec& spec);
    Alignment GetAlignment() const { return alignment_; }
    void SetAlignment(Alignment alignment);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);
    bool AutoSize() const { return auto_size_; }
    void SetAutoSize(bool auto_size);
    COLORREF Color() const { return color_; }
    void SetColor(COLORREF color);

    void SetBounds(const gui::Bounds& bounds) override;
    void Paint(HDC dc) override;

private:
    void AdjustBounds();
    UINT TextFormat() const;

    std::string caption_;
    std::shared_ptr<Font> font_;
    Alignment alignment_ = Alignment::Left;
    bool transparent_ = false;
    bool auto_size_ = false;
    COLORREF color_ = clBtnFace();
};

}  // namespace setup::gui
