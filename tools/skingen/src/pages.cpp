// The four centre pages: step band over a light gradient, plus each page's own content.
#include "layout.h"
#include "palette.h"
#include "pieces.h"
#include "shapes.h"
#include "step_band.h"
#include "terminal_art.h"

namespace skingen {
namespace {

constexpr int kPageWidth = 510;
constexpr int kPageHeight = 295;

// White field under the licence text box, with a one-pixel border just outside it.
void drawLicenceField(Canvas& page) {
    const Rect box = kLicenceBox;
    page.fill({box.x - 2, box.y - 2, box.w + 4, box.h + 4},
              mix(pageColourAt(box.y), palette::kWhite, 0.5));
    page.fill({box.x - 1, box.y - 1, box.w + 2, box.h + 2}, palette::kFieldBorder);
    page.fill(box, palette::kWhite);
}

void drawProgressSlot(Canvas& page) {
    const Rect slot = kProgressSlot;
    const Rgb behind = pageColourAt(slot.y + slot.h / 2.0);
    page.blit(drawProgressFrame(slot.w, slot.h, behind, behind), slot.x, slot.y);
}

}  // namespace

Rgb pageColourAt(double y) {
    return mix(palette::kPageTop, palette::kPageBottom,
               (y - kStepBandHeight) / (kPageHeight - kStepBandHeight));
}

Canvas drawPage(const Font& font, int step) {
    Canvas page(kPageWidth, kPageHeight);
    for (int y = 0; y < kPageHeight; ++y) page.fill({0, y, kPageWidth, 1}, pageColourAt(y + 0.5));
    drawStepBand(page, font, step);
    if (step == 0) drawLicenceField(page);
    if (step == 2) {
        drawTerminal(page, font, kPageWidth / 2.0, 58);
        drawProgressSlot(page);
    }
    return page;
}

}  // namespace skingen
