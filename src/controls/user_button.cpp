#include "controls/user_button.h"

#include "platform/text.h"
#include "gui/container.h"
#include "gui/draw.h"
#include "gui/errors.h"
#include "platform/win32/handles.h"

namespace setup::controls {

namespace {

constexpr COLORREF kPlainFace = RGB(240, 240, 240);
constexpr int kCornerSize = 6;

gui::FontSpec CanvasDefaultFont() {
    return gui::FontSpec{"MS Sans Serif", gui::PointsToHeight(8), DEFAULT_CHARSET};
}

}  // namespace

TUserButton::TUserButton(gui::Container& parent)
    : gui::Label(parent), canvas_font_(CanvasDefaultFont()) {
    SetAutoSize(false);
    for (gui::Bitmap& image : images_) image.SetSize(Width(), Height());
}

void TUserButton::SetBmpPathAndName(const std::string& value) {
    bmp_path_and_name_ = value;
    std::optional<gui::Bitmap> strip = gui::ReadBmpFile(value + ".bmp");
    if (!strip) return;
    const int w = StripFrameWidth(strip->Width()), h = strip->Height();
    for (int i = 0; i < 4; ++i) {
        images_[i].SetSize(w, h);
        images_[i].CopyFrom(*strip, i * w, 0, w, h, 0, 0);
    }
    SetSize(w, h);
    loaded_ = true;
    DrawNow(ButtonState::Normal);
}

void TUserButton::LoadFromStrip(const gui::Bitmap& strip) {
    const int w = StripFrameWidth(strip.Width()), h = strip.Height();
    SetSize(w, h);
    for (int i = 0; i < 4; ++i) {
        images_[i].SetSize(w, h);
        images_[i].CopyFrom(strip, i * w, 0, w, h, 0, 0);
    }
    gui::Bitmap& normal = images_[static_cast<int>(ButtonImage::Normal)];
    for (int y = 0; y < kCornerSize; ++y)
        for (int x = 0; x < kCornerSize; ++x)
            if (normal.Pixel(x, y) == RGB(0, 0, 0)) normal.SetPixel(x, y, bmp_transparent_color_);
    loaded_ = true;
    DrawNow(ButtonState::Normal);
}

void TUserButton::Paint(HDC dc) {
    FollowDownImageSize();
    PaintState(dc, model_.State(), true);
}

void TUserButton::FollowDownImageSize() {
    if (!loaded_ || !Enabled()) return;
    const gui::Bitmap& down = images_[static_cast<int>(ButtonImage::Down)];
    SetSize(down.Width(), down.Height());
}

void TUserButton::PaintState(HDC dc, ButtonState state, bool repaint) {
    if (Enabled() && !bmp_transparent_) {
        gui::DrawOutlinedBox(dc, RECT{0, 0, Width(), Height()}, RGB(0, 0, 0), kPlainFace);
    }
    if (!loaded_) {
        DrawCaption(dc);
        return;
    }
    ButtonImage image = ButtonImage::Disabled;
    if (Enabled()) {
        image = ImageForState(state, model_.Pressed());
        // A full repaint while the mouse is held shows the down image the mouse handlers left
        // on screen, instead of no image at all.
        if (repaint && image == ButtonImage::None && state == ButtonState::Hot)
            image = ButtonImage::Down;
    }
    if (image != ButtonImage::None) {
        const gui::Bitmap& picture = images_[static_cast<int>(image)];
        if (bmp_transparent_)
            gui::DrawBitmapKeyed(dc, 0, 0, picture, bmp_transparent_color_);
        else
            gui::DrawBitmap(dc, 0, 0, picture);
    }
    DrawCaption(dc);
}

void TUserButton::DrawNow(ButtonState state) {
    FollowDownImageSize();
    DirectDc dc(*this);
    if (dc.get()) PaintState(dc.get(), state, false);
}

void TUserButton::DrawCaption(HDC dc) {
    const std::string& caption = Caption();
    if (text::Trim(caption).empty()) return;
    win32::SelectGuard use(dc, canvas_font_.Handle());
    const SIZE size = gui::MeasureText(dc, caption);
    const CaptionOrigin at = CaptionPosition(Width(), Height(), size.cx, size.cy, model_.Pressed());
    gui::DrawTextClear(dc, at.x, at.y, caption, Enabled() ? RGB(0, 0, 0) : gui::clGrayText());
}

void TUserButton::WmLButtonDown(int x, int y, gui::ShiftState shift) {
    // The button never captures the mouse: a release off the button goes to what lies there.
    if (!InsideButton(x, y, Width(), Height())) return;
    if (OnMouseDown) OnMouseDown(gui::MouseButton::Left, shift, x, y);
    DoPress(gui::MouseButton::Left, 0, x, y);
}

void TUserButton::DoPress(gui::MouseButton, gui::ShiftState, int x, int y) {
    if (model_.Press(x, y, Width(), Height())) DrawNow(ButtonState::Down);
}

void TUserButton::WmMouseMove(int x, int y, gui::ShiftState) {
    if (model_.Move(x, y, Width(), Height())) DrawNow(ButtonState::Hot);
}

void TUserButton::WmLButtonUp(int, int, gui::ShiftState) {
    if (!model_.Release()) return;
    // Whatever the handlers throw ends the release quietly; the page stays as they left it.
    gui::RunDiscardingErrors([&] {
        DrawNow(ButtonState::Released);
        if (OnMouseUp) OnMouseUp(gui::MouseButton::Left, 0, 0, 0);
        if (OnClick) OnClick();
    });
}

void TUserButton::WmMouseLeave() {
    if (model_.Leave()) DrawNow(ButtonState::Left);
}

}  // namespace setup::controls
