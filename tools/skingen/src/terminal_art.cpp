#include "terminal_art.h"

#include "palette.h"
#include "shapes.h"

namespace skingen {
namespace {

using palette::kBlack;
using palette::kWhite;

// Bounds for fillShape: the whole canvas is cheap enough and avoids off-by-one clipping.
Rect all(const Canvas& c) {
    return {0, 0, c.width(), c.height()};
}

void roundedBox(Canvas& c, double x, double y, double w, double h, double r, Rgb top, Rgb bottom,
                Rgb border) {
    fillShape(c, all(c), roundRect(x, y, w, h, r), border);
    fillShape(c, all(c), roundRect(x + 1, y + 1, w - 2, h - 2, r - 1),
              verticalGradient(y, y + h, top, bottom));
}

void drawScreen(Canvas& c, const Font& font, double x, double y, double w, double h) {
    fillShape(c, all(c), roundRect(x, y, w, h, 2),
              verticalGradient(y, y + h, Rgb{78, 156, 224}, Rgb{36, 98, 170}));
    // Title strip of the sales screen.
    fillShape(c, all(c), roundRect(x, y, w, 14, 2), Rgb{24, 66, 124});
    font.draw(c, "TessikOne", static_cast<int>(x + 5), static_cast<int>(y + 11),
              {10, kWhite, true});
    // Item list on the left.
    for (int i = 0; i < 4; ++i) {
        const double ly = y + 21 + i * 10;
        fillShape(c, all(c), roundRect(x + 6, ly, 46, 4, 2), kWhite, 0.75);
        fillShape(c, all(c), roundRect(x + 56, ly, 14, 4, 2), kWhite, 0.45);
    }
    // Sales chart on the right.
    const double heights[] = {16, 26, 20, 34, 28};
    const double base = y + h - 18;
    for (int i = 0; i < 5; ++i) {
        const double bx = x + 82 + i * 11;
        fillShape(c, all(c), roundRect(bx, base - heights[i], 7, heights[i], 1),
                  verticalGradient(base - 36, base, Rgb{150, 232, 150}, Rgb{70, 180, 90}));
    }
    fillShape(c, all(c), roundRect(x + 78, base, 60, 1, 0), kWhite, 0.6);
    // Total line at the bottom.
    font.draw(c, "合计 ¥1,280.00", static_cast<int>(x + 6), static_cast<int>(y + h - 5),
              {10, kWhite, false});
}

void drawMonitor(Canvas& c, const Font& font, double cx, double top) {
    // Neck first so the bezel overlaps it.
    fillShape(c, all(c), roundRect(cx - 11, top + 90, 22, 22, 2),
              horizontalGradient(cx - 11, cx + 11, Rgb{70, 76, 86}, Rgb{120, 128, 140}));
    roundedBox(c, cx - 80, top, 160, 96, 7, Rgb{62, 68, 80}, Rgb{30, 34, 42}, Rgb{20, 22, 28});
    drawScreen(c, font, cx - 72, top + 8, 144, 80);
    // Glass glare across the upper left.
    fillShape(c, all(c),
              intersect(roundRect(cx - 72, top + 8, 144, 80, 2), polygon({{cx - 72, top + 8},
                                                                          {cx + 10, top + 8},
                                                                          {cx - 40, top + 88},
                                                                          {cx - 72, top + 88}})),
              kWhite, 0.10);
}

void drawCashDrawer(Canvas& c, double cx, double top) {
    roundedBox(c, cx - 94, top, 188, 42, 5, Rgb{150, 158, 170}, Rgb{84, 92, 104}, Rgb{52, 58, 68});
    // Front panel with a handle and a lock.
    roundedBox(c, cx - 82, top + 14, 164, 22, 3, Rgb{104, 112, 124}, Rgb{120, 128, 140},
               Rgb{64, 70, 80});
    fillShape(c, all(c), roundRect(cx - 24, top + 21, 48, 5, 2.5), Rgb{40, 44, 52});
    fillShape(c, all(c), circle(cx + 68, top + 25, 3.2), Rgb{210, 180, 90});
    fillShape(c, all(c), segment({cx + 68, top + 23.5}, {cx + 68, top + 26.5}, 0.6), kBlack, 0.6);
}

void drawReceiptPrinter(Canvas& c, double x, double top) {
    // Receipt paper leaving the slot, with a torn zig-zag top edge and printed lines.
    std::vector<Point> paper{{x + 8, top + 12}, {x + 8, top - 30}};
    for (int i = 0; i < 8; ++i) paper.push_back({x + 8 + 4 * i + 2, top - (i % 2 ? 30.0 : 33.0)});
    paper.push_back({x + 40, top - 30});
    paper.push_back({x + 40, top + 12});
    fillShape(c, all(c), polygon(paper),
              verticalGradient(top - 33, top, kWhite, Rgb{232, 235, 240}));
    for (size_t i = 0; i + 1 < paper.size(); ++i)
        fillShape(c, all(c), segment(paper[i], paper[i + 1], 0.5), Rgb{150, 158, 170});
    for (int i = 0; i < 5; ++i)
        fillShape(c, all(c), roundRect(x + 13, top - 24 + i * 6, i == 4 ? 14 : 22, 2, 1),
                  Rgb{150, 158, 170});

    roundedBox(c, x, top, 48, 46, 5, Rgb{240, 242, 245}, Rgb{196, 202, 210}, Rgb{120, 128, 140});
    fillShape(c, all(c), roundRect(x + 6, top + 6, 36, 3, 1.5), Rgb{60, 66, 76});
    fillShape(c, all(c), circle(x + 38, top + 36, 2.5), Rgb{80, 190, 100});
}

void drawCardTerminal(Canvas& c, double x, double top) {
    roundedBox(c, x, top, 40, 56, 6, Rgb{84, 92, 106}, Rgb{46, 52, 62}, Rgb{30, 34, 40});
    fillShape(c, all(c), roundRect(x + 6, top + 7, 28, 13, 2),
              verticalGradient(top + 7, top + 20, Rgb{190, 236, 214}, Rgb{128, 196, 168}));
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            fillShape(c, all(c), roundRect(x + 7 + col * 9, top + 26 + row * 8, 7, 5, 1.5),
                      Rgb{200, 206, 214});
}

}  // namespace

void drawTerminal(Canvas& canvas, const Font& font, double cx, double top) {
    // Shadow on the counter, under everything.
    fillShape(canvas, all(canvas), ellipse(cx, top + 152, 170, 6), kBlack, 0.16);
    drawMonitor(canvas, font, cx, top);
    drawCashDrawer(canvas, cx, top + 110);
    drawReceiptPrinter(canvas, cx + 100, top + 106);
    drawCardTerminal(canvas, cx - 144, top + 96);
}

}  // namespace skingen
