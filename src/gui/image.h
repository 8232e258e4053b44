// A windowless picture: draws its bitmap unscaled from its top-left corner; parts beyond the
// control's bounds are cut off, and where the picture is smaller the parent shows. A transparent
// image leaves out the pixels of the colour of the picture's bottom-left pixel.
#pragma once

#include <memory>

#include "gui/bitmap.h"
#include "gui/control.h"

namespace setup::gui {

class Image : public Control {
public:
    using Control::Control;

    // Pictures are shared, never changed after they are handed over.
    void SetPicture(std::shared_ptr<const Bitmap> picture);
    const Bitmap* Picture() const { return picture_.get(); }
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);

    void Paint(HDC dc) override;

protected:
    // A press handler's error is shown in a message box; it goes no further.
    void DoMouseDown(MouseButton button, ShiftState shift, int x, int y) override;

private:
    std::shared_ptr<const Bitmap> picture_;
    bool transparent_ = false;
};

}  // namespace setup::gui
