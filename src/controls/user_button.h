// TUserButton: the windowless push button of the wizard. Its look comes from four state images
// cut from one horizontal strip (normal, hot, down, disabled) with its caption centred over them;
// it reports a click through OnMouseUp, then OnClick.
#pragma once

#include <array>
#include <string>

#include "controls/button_state.h"
#include "gui/bitmap.h"
#include "gui/font.h"
#include "gui/label.h"

namespace setup::controls {

// Hot keys a button can be given; stored only, the button does not act on them.
enum class TMyHotCut { MhNone, Alt_S, Alt_C, Ctrl_Enter };

class TUserButton : public gui::Label {
public:
    explicit TUserButton(gui::Container& parent);

    const std::string& BmpPathAndName() const { return bmp_path_and_name_; }
    // Loads the strip "<value>.bmp" when that file exists; a missing file changes nothing.
    void SetBmpPathAndName(const std::string& value);
    TMyHotCut HotKey1() const { return hot_key1_; }
    void SetHotKey1(TMyHotCut key) { hot_key1_ = key; }
    TMyHotCut HotKey2() const { return hot_key2_; }
    void SetHotKey2(TMyHotCut key) { hot_key2_ = key; }
    bool BmpTransParent() const { return bmp_transparent_; }
    void SetBmpTransParent(bool on) { bmp_transparent_ = on; }
    COLORREF BmpTransParentColor() const { return bmp_transparent_color_; }
    void SetBmpTransParentColor(COLORREF color) { bmp_transparent_color_ = color; }

    // Makes the four state images from a strip, which stays the caller's, and sizes the button
    // to one frame. Black pixels in the top-left 6 x 6 corner of the normal image become the
    // key colour, so a dark corner of the skin turns see-through.
    void LoadFromStrip(const gui::Bitmap& strip);

    void Paint(HDC dc) override;

    void WmLButtonDown(int x, int y, gui::ShiftState shift) override;
    void WmMouseMove(int x, int y, gui::ShiftState shift) override;
    void WmLButtonUp(int x, int y, gui::ShiftState shift) override;
    void WmMouseLeave() override;
    // A push button acts on the left button only: a right or middle click does nothing.
    void WmRButtonDown(int, int, gui::ShiftState) override {}
    void WmRButtonUp(int, int, gui::ShiftState) override {}
    void WmMButtonDown(int, int, gui::ShiftState) override {}
    void WmMButtonUp(int, int, gui::ShiftState) override {}
    virtual void DoPress(gui::MouseButton button, gui::ShiftState shift, int x, int y);

    ButtonState State() const { return model_.State(); }
    bool Pressed() const { return model_.Pressed(); }
    bool Loaded() const { return loaded_; }
    const gui::Bitmap& StateImage(ButtonImage image) const {
        return images_[static_cast<int>(image)];
    }

private:
    // An enabled button with images takes the size of its down image before it draws.
    void FollowDownImageSize();
    void PaintState(HDC dc, ButtonState state, bool repaint);
    // Draws a state at once on the parent window, without erasing what is there.
    void DrawNow(ButtonState state);
    void DrawCaption(HDC dc);

    ButtonModel model_;
    std::array<gui::Bitmap, 4> images_;
    bool loaded_ = false;
    std::string bmp_path_and_name_;
    TMyHotCut hot_key1_ = TMyHotCut::MhNone;
    TMyHotCut hot_key2_ = TMyHotCut::MhNone;
    bool bmp_transparent_ = false;
    COLORREF bmp_transparent_color_ = RGB(0, 0, 0);
    // The caption's font is the canvas's own default, whatever the label's font says.
    gui::Font canvas_font_;
};

}  // namespace setup::controls
