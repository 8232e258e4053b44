// TFlatCheckBox: a check box with its own window and a flat look. It draws into an off-screen
// bitmap: first what its parent shows beneath it (so it looks transparent over a skinned page),
// then a 14 x 14 outlined box, the check mark and the caption. Every write of its check fires
// OnClick.
#pragma once

#include <memory>
#include <string>

#include "controls/check_box_state.h"
#include "gui/container.h"
#include "gui/control.h"
#include "gui/font.h"
#include "gui/window.h"

namespace setup::controls {

class TFlatCheckBox : public gui::Window {
public:
    TFlatCheckBox(gui::Container& parent, const gui::Bounds& bounds, const std::string& caption);

    bool Checked() const { return model_.Checked(); }
    void SetChecked(bool value);
    CheckBoxState State() const { return model_.State(); }
    void SetState(CheckBoxState state);
    // The click action: the check turns over.
    void Toggle() { SetChecked(!Checked()); }

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    const gui::FontSpec& DefaultFont() const { return font_->Spec(); }
    void SetDefaultFont(const gui::FontSpec& spec);
    bool MouseIn() const { return mouse_in_; }
    bool CanFocused() const { return can_focused_; }
    void SetCanFocused(bool can) { can_focused_ = can; }

    // Only the flat look exists; the skin entry name is kept for the form that sets it.
    bool Flat() const { return true; }
    const std::string& SkinDataName() const { return skin_data_name_; }
    void SetSkinDataName(std::string name) { skin_data_name_ = std::move(name); }

    // Draws the whole control with its top-left corner at (0, 0) of dc.
    void PaintTo(HDC dc);

    // An error that leaves OnClick is shown in a message box.
    gui::NotifyEvent OnClick;
    gui::MouseEvent OnMouseDown;
    gui::MouseEvent OnMouseUp;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

private:
    void Repaint();
    void Clicked();
    void OnPress(int x, int y, gui::ShiftState shift);
    void OnRelease(int x, int y, gui::ShiftState shift);
    void SetMouseIn(bool in);
    void OnPaint();

    gui::Container& parent_;
    CheckModel model_;
    std::string caption_;
    std::unique_ptr<gui::Font> font_;
    std::string skin_data_name_ = "checkbox";
    bool mouse_in_ = false;
    bool can_focused_ = true;
};

}  // namespace setup::controls
