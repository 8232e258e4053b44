#include "gui/image.h"

#include <utility>

#include "gui/container.h"
#include "gui/draw.h"
#include "gui/errors.h"

namespace setup::gui {

void Image::SetPicture(std::shared_ptr<const Bitmap> picture) {
    if (picture == picture_) return;  // pictures never change: the same one needs no repaint
    picture_ = std::move(picture);
    Invalidate();
}

void Image::SetTransparent(bool transparent) {
    if (transparent == transparent_) return;
    transparent_ = transparent;
    Invalidate();
}

void Image::Paint(HDC dc) {
    if (!picture_ || picture_->Empty()) return;
    if (transparent_)
        DrawBitmapKeyed(dc, 0, 0, *picture_, picture_->Pixel(0, picture_->Height() - 1));
    else
        DrawBitmap(dc, 0, 0, *picture_);
}

void Image::DoMouseDown(MouseButton button, ShiftState shift, int x, int y) {
    RunReportingErrors(Parent().Handle(), [&] { Control::DoMouseDown(button, shift, x, y); });
}

}  // namespace setup::gui
