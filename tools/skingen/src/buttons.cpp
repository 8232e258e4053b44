// Button strips: rounded green push buttons and the window's close button.
#include "layout.h"
#include "palette.h"
#include "pieces.h"
#include "shapes.h"

namespace skingen {
namespace {

constexpr int kButtonHeight = 23;
constexpr int kCloseHeight = 19;
// With this radius the three outermost corner pixels lie wholly outside the shape.
constexpr double kButtonRadius = 5;

struct ButtonLook {
    Rgb top, bottom, border;
    double gloss;  // strength of the light upper half
};

constexpr ButtonLook kButtonLooks[4] = {
    {{108, 196, 110}, {46, 146, 62}, {30, 104, 44}, 0.22},      // normal
    {{140, 220, 138}, {70, 176, 84}, {40, 124, 54}, 0.26},      // hot
    {{40, 122, 52}, {68, 154, 78}, {24, 84, 34}, 0.0},          // down: pressed in
    {{228, 229, 231}, {196, 198, 202}, {156, 160, 166}, 0.18},  // disabled
};

void drawButton(Canvas& strip, int frame, const ButtonLook& look) {
    const int x0 = frame * kButtonFrameWidth;
    const Rect bounds{x0, 0, kButtonFrameWidth, kButtonHeight};
    const double w = kButtonFrameWidth, h = kButtonHeight;
    const Inside outer = roundRect(x0, 0, w, h, kButtonRadius);
    // Edges are blended against the bottom band the buttons sit on, then everything the
    // shape does not touch becomes the transparent key.
    strip.fill(bounds, palette::kBottomBand);
    fillShape(strip, bounds, outer, look.border);
    fillShape(strip, bounds, roundRect(x0 + 1, 1, w - 2, h - 2, kButtonRadius - 1),
              verticalGradient(1, h - 1, look.top, look.bottom));
    if (look.gloss > 0)
        fillShape(strip, bounds, roundRect(x0 + 2, 2, w - 4, h / 2 - 2, kButtonRadius - 2),
                  palette::kWhite, look.gloss);
    keyOutside(strip, bounds, outer, palette::kKey);
}

// The installer recognises the strip by black pixels in the first frame's top-left
// corner and turns them into the key colour; mark the fully transparent ones nearest the
// corner.
void markKeyCorner(Canvas& strip) {
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x + y < 2; ++x)
            if (strip.at(x, y) == palette::kKey) strip.set(x, y, palette::kBlack);
}

struct CloseLook {
    Rgb top, bottom, cross;
};

// The close button is keyed on white like the others, so its cross is a white one short of the
// key: pure white would let the top bar show through it.
constexpr CloseLook kCloseLooks[4] = {
    {{84, 128, 186}, {44, 80, 132}, {252, 252, 252}},     // normal
    {{236, 98, 86}, {198, 44, 40}, {252, 252, 252}},      // hot
    {{160, 34, 30}, {122, 22, 20}, {252, 252, 252}},      // down
    {{150, 156, 164}, {122, 128, 136}, {214, 217, 222}},  // disabled
};

void drawCloseButton(Canvas& strip, int frame, const CloseLook& look) {
    const int x0 = frame * kCloseFrameWidth;
    const Rect bounds{x0, 0, kCloseFrameWidth, kCloseHeight};
    strip.fill(bounds, mix(look.bottom, palette::kBlack, 0.3));
    fillShape(strip, bounds, roundRect(x0 + 1, 1, kCloseFrameWidth - 2, kCloseHeight - 2, 2),
              verticalGradient(1, kCloseHeight - 1, look.top, look.bottom));
    const double cx = x0 + kCloseFrameWidth / 2.0, cy = kCloseHeight / 2.0, arm = 4.2;
    fillShape(strip, bounds,
              unite(segment({cx - arm, cy - arm}, {cx + arm, cy + arm}, 1.1),
                    segment({cx + arm, cy - arm}, {cx - arm, cy + arm}, 1.1)),
              look.cross);
}

}  // namespace

Canvas drawButtonStrip() {
    Canvas strip(4 * kButtonFrameWidth, kButtonHeight);
    for (int i = 0; i < 4; ++i) drawButton(strip, i, kButtonLooks[i]);
    markKeyCorner(strip);
    return strip;
}

Canvas drawCloseStrip() {
    Canvas strip(4 * kCloseFrameWidth, kCloseHeight);
    for (int i = 0; i < 4; ++i) drawCloseButton(strip, i, kCloseLooks[i]);
    return strip;
}

}  // namespace skingen
