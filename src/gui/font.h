// Fonts described by face, height and character set, as a form file names them. Under Wine every
// face may be replaced by a substitute; the names here stay the system's own.
#pragma once

#include <windows.h>

#include <string>

#include "platform/win32/handles.h"

namespace setup::gui {

struct FontSpec {
    std::string face = "MS Sans Serif";
    // Negative: character height in pixels; positive: cell height in pixels.
    int height = -11;
    BYTE charset = DEFAULT_CHARSET;
    COLORREF color = RGB(0, 0, 0);
    bool bold = false;

    bool operator==(const FontSpec&) const = default;
};

// Height for a size in points on the screen.
int PointsToHeight(int points);

// "宋体" with a character height of pixels, the font the wizard's texts and lists use.
inline FontSpec SongFont(int pixels, BYTE charset = DEFAULT_CHARSET) {
    return FontSpec{"宋体", -pixels, charset};
}

// An owned font made from a spec; the colour travels with it for the code that draws text.
class Font {
public:
    explicit Font(FontSpec spec = {});
    const FontSpec& Spec() const { return spec_; }
    HFONT Handle() const { return font_.get(); }
    COLORREF Color() const { return spec_.color; }

private:
    FontSpec spec_;
    win32::UniqueFont font_;
};

}  // namespace setup::gui
