#include "step_band.h"

#include <string>

#include "palette.h"
#include "shapes.h"

namespace skingen {
namespace {

constexpr const char* kCaptions[kStepCount] = {"欢迎", "选项", "安装", "完成"};
constexpr double kTop = 4, kBottom = 26;  // chevron extent within the band
constexpr double kPoint = 9;              // depth of each chevron's arrow point
constexpr double kGap = 3;

struct StepLook {
    Paint fill;
    Rgb text, badge, badgeText;
    bool bold;
};

StepLook lookFor(int step, int current) {
    using namespace palette;
    if (step == current)
        return {verticalGradient(kTop, kBottom, Rgb{72, 146, 220}, kAccentDark), kWhite, kWhite,
                kAccent, true};
    if (step < current)
        return {verticalGradient(kTop, kBottom, Rgb{222, 235, 248}, Rgb{196, 216, 238}),
                Rgb{44, 86, 138}, Rgb{90, 140, 200}, kWhite, false};
    return {verticalGradient(kTop, kBottom, Rgb{236, 239, 243}, Rgb{218, 223, 230}), kTextGrey,
            Rgb{176, 182, 190}, kWhite, false};
}

// Chevron i spans [x0, x1); the first has a flat left edge, the last a flat right edge.
Inside chevron(double x0, double x1, bool first, bool last) {
    const double mid = (kTop + kBottom) / 2;
    const double right = last ? x1 : x1 - kPoint;
    std::vector<Point> pts{{x0, kTop}, {right, kTop}};
    if (!last) pts.push_back({x1, mid});
    pts.push_back({right, kBottom});
    pts.push_back({x0, kBottom});
    if (!first) pts.push_back({x0 + kPoint, mid});
    return polygon(std::move(pts));
}

}  // namespace

void drawStepBand(Canvas& canvas, const Font& font, int current) {
    using namespace palette;
    const int width = canvas.width();
    const Rect band{0, 0, width, kStepBandHeight};
    canvas.fill(band, kWhite);
    fillShape(
        canvas, band, [](double, double) { return true; },
        verticalGradient(0, kStepBandHeight, kWhite, Rgb{236, 240, 245}));
    canvas.fill({0, kStepBandHeight - 1, width, 1}, Rgb{200, 210, 222});

    const double slot = (width - 8.0) / kStepCount;
    for (int i = 0; i < kStepCount; ++i) {
        const double x0 = 4 + i * slot + (i == 0 ? 0 : kGap / 2);
        const double x1 = 4 + (i + 1) * slot - (i == kStepCount - 1 ? 0 : kGap / 2);
        const StepLook look = lookFor(i, current);
        fillShape(canvas, band, chevron(x0, x1, i == 0, i == kStepCount - 1), look.fill);

        // Numbered badge, then the caption, centred together in the chevron's body.
        const TextStyle caption{13, look.text, look.bold};
        const TextStyle digit{10, look.badgeText, true};
        const std::string label = kCaptions[i];
        const double badgeR = 7.5, spacing = 5;
        const double total = 2 * badgeR + spacing + font.measure(label, caption);
        const double centre =
            (x0 + x1) / 2 + (i == 0 ? -kPoint / 2 : 0) + (i == kStepCount - 1 ? kPoint / 2 : 0);
        const double bx = centre - total / 2 + badgeR, cy = (kTop + kBottom) / 2;
        fillShape(canvas, band, circle(bx, cy, badgeR), look.badge);
        font.drawCentred(canvas, std::to_string(i + 1), bx, cy, digit);
        font.draw(canvas, label, static_cast<int>(bx + badgeR + spacing),
                  static_cast<int>(cy + font.ascent(caption) / 2.0 + 0.5), caption);
    }
}

}  // namespace skingen
