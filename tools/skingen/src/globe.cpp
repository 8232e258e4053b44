#include "globe.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "palette.h"
#include "shapes.h"

namespace skingen {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTilt = 22 * kPi / 180;  // north pole leans toward the viewer
constexpr double kSpin = 12 * kPi / 180;  // keeps a meridian off the exact centre

struct SpherePoint {
    double nx, ny, nz;  // unit normal, y up, z toward the viewer
    double lat, lon;
};

SpherePoint locate(double x, double y, double cx, double cy, double r) {
    SpherePoint p{};
    p.nx = (x - cx) / r;
    p.ny = (cy - y) / r;
    p.nz = std::sqrt(std::max(0.0, 1 - p.nx * p.nx - p.ny * p.ny));
    // Undo the tilt to get globe coordinates, then read latitude and longitude.
    const double gy = p.ny * std::cos(kTilt) + p.nz * std::sin(kTilt);
    const double gz = -p.ny * std::sin(kTilt) + p.nz * std::cos(kTilt);
    p.lat = std::asin(std::clamp(gy, -1.0, 1.0));
    p.lon = std::atan2(p.nx, gz) + kSpin;
    return p;
}

double distanceToGrid(double angle, double step) {
    const double k = std::round(angle / step);
    return std::abs(angle - k * step);
}

// Lines are a constant width on the globe's surface, so they thin toward the rim the way
// a real globe's grid does.
bool onGrid(const SpherePoint& p, double r, const GlobeStyle& style) {
    const double step = style.gridStep * kPi / 180;
    const double halfWidth = 0.55 * style.lineScale / r;
    if (distanceToGrid(p.lat, step) < halfWidth && std::abs(p.lat) < 80 * kPi / 180) return true;
    return distanceToGrid(p.lon, step) * std::cos(p.lat) < halfWidth;
}

Rgb shade(const SpherePoint& p, const GlobeStyle& style) {
    // Light from the upper left, in front.
    const double lx = -0.45, ly = 0.55, lz = 0.70;
    const double diffuse = std::max(0.0, p.nx * lx + p.ny * ly + p.nz * lz);
    const Rgb dark = mix(style.sea, palette::kBlack, 0.55);
    Rgb c = mix(dark, style.sea, 0.25 + 0.85 * diffuse);
    const double specular = std::pow(diffuse, 24);
    c = mix(c, palette::kWhite, 0.75 * specular);
    return c;
}

void drawCheckBadge(Canvas& canvas, double cx, double cy, double r) {
    const Rect box{static_cast<int>(cx - r - 2), static_cast<int>(cy - r - 2),
                   static_cast<int>(2 * r + 5), static_cast<int>(2 * r + 5)};
    fillShape(canvas, box, circle(cx, cy, r + 1.2), palette::kWhite);
    fillShape(canvas, box, circle(cx, cy, r),
              verticalGradient(cy - r, cy + r, Rgb{96, 196, 92}, Rgb{38, 140, 54}));
    const Point a{cx - r * 0.50, cy + r * 0.02}, b{cx - r * 0.12, cy + r * 0.42},
        c{cx + r * 0.52, cy - r * 0.38};
    const double hw = r * 0.14;
    fillShape(canvas, box, unite(segment(a, b, hw), segment(b, c, hw)), palette::kWhite);
}

}  // namespace

void drawGlobe(Canvas& canvas, double cx, double cy, double radius, const GlobeStyle& style) {
    const double halo = style.haloScale;
    const double margin = 3 * std::max(1.0, halo);
    const Rect box{static_cast<int>(cx - radius - margin), static_cast<int>(cy - radius - margin),
                   static_cast<int>(2 * (radius + margin) + 1),
                   static_cast<int>(2 * (radius + margin) + 1)};
    // A soft dark halo separates the globe from the bar behind it.
    fillShape(canvas, box, circle(cx + 0.8 * halo, cy + 1.2 * halo, radius + 1.6 * halo),
              palette::kBlack, 0.35);

    const Paint surface = [&](double x, double y) {
        const SpherePoint p = locate(x, y, cx, cy, radius);
        const Rgb base = shade(p, style);
        // Grid lines fade on the shadowed side, as light lines would.
        return onGrid(p, radius, style) ? mix(base, style.grid, 0.35 + 0.45 * p.nz) : base;
    };
    fillShape(canvas, box, circle(cx, cy, radius), surface);
    // A thin bright rim lifts the edge.
    fillShape(canvas, box, ring(cx, cy, radius, radius - 0.9 * style.lineScale), style.grid, 0.45);

    if (style.checkBadge)
        drawCheckBadge(canvas, cx + radius * 0.62, cy + radius * 0.58, radius * 0.42);
}

}  // namespace skingen
