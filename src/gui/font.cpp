#include "gui/font.h"

#include <cstring>
#include <utility>

namespace setup::gui {

int PointsToHeight(int points) {
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return -MulDiv(points, dpi, 72);
}

Font::Font(FontSpec spec) : spec_(std::move(spec)) {
    LOGFONTA lf{};
    lf.lfHeight = spec_.height;
    lf.lfWeight = spec_.bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = spec_.charset;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH;
    std::strncpy(lf.lfFaceName, spec_.face.c_str(), LF_FACESIZE - 1);
    font_.reset(CreateFontIndirectA(&lf));
}

}  // namespace setup::gui
