#include "icon_art.h"

#include <algorithm>

#include "globe.h"

namespace skingen {
namespace {

// The skin's globe is 48 px across; the icon scales its halo and lines from there.
constexpr double kSkinGlobeSize = 48;

GlobeStyle styleFor(int size) {
    GlobeStyle style;
    const double scale = size / kSkinGlobeSize;
    // Past twice the skin's size a wider halo reads as a flat grey crescent, not a shadow.
    style.haloScale = std::min(scale, 2.0);
    // Hairlines vanish on the large globe, and a full grid blurs into a grey disc on the
    // small ones: large sizes thicken the lines, small sizes space them wider.
    style.lineScale = scale > 1 ? scale * 0.5 : 1;
    style.gridStep = size <= 16 ? 60 : size <= 32 ? 45 : 30;
    return style;
}

}  // namespace

Canvas drawIconImage(int size) {
    Canvas image = Canvas::transparent(size, size);
    const GlobeStyle style = styleFor(size);
    const double halo = style.haloScale;
    // The halo reaches 1.6 halo-units past the rim, offset by (0.8, 1.2). The globe and halo
    // are centred together, with at least a pixel of air so neighbouring icons do not touch.
    const double air = std::max(1.0, size / 32.0);
    const double radius = size / 2.0 - 1.6 * halo - air;
    drawGlobe(image, size / 2.0 - 0.8 * halo, size / 2.0 - 1.2 * halo, radius, style);
    return image;
}

std::vector<Canvas> drawIconImages() {
    std::vector<Canvas> images;
    for (const int size : kIconSizes) images.push_back(drawIconImage(size));
    return images;
}

}  // namespace skingen
