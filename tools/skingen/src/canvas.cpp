#include "canvas.h"

#include <algorithm>
#include <cmath>

namespace skingen {

Rgb mix(Rgb a, Rgb b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    auto channel = [t](int from, int to) {
        return static_cast<std::uint8_t>(std::lround(from + (to - from) * t));
    };
    return {channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b)};
}

Canvas::Canvas(int width, int height, Rgb fill)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, fill) {}

Canvas Canvas::transparent(int width, int height) {
    Canvas c(width, height);
    c.alpha_.assign(c.pixels_.size(), 0);
    return c;
}

Rgb Canvas::at(int x, int y) const {
    return contains(x, y) ? pixels_[static_cast<size_t>(y) * width_ + x] : Rgb{};
}

std::uint8_t Canvas::alphaAt(int x, int y) const {
    if (!contains(x, y)) return 0;
    return hasAlpha() ? alpha_[static_cast<size_t>(y) * width_ + x] : 255;
}

void Canvas::set(int x, int y, Rgb c) {
    if (!contains(x, y)) return;
    const size_t i = static_cast<size_t>(y) * width_ + x;
    pixels_[i] = c;
    if (hasAlpha()) alpha_[i] = 255;
}

void Canvas::blend(int x, int y, Rgb c, double alpha) {
    if (!contains(x, y) || alpha <= 0.0) return;
    if (!hasAlpha() || alpha >= 1.0) {
        set(x, y, alpha >= 1.0 ? c : mix(at(x, y), c, alpha));
        return;
    }
    // Source over: the colour below counts only as far as it is itself opaque, so paint
    // on a transparent pixel keeps its own colour and only its coverage becomes alpha.
    const size_t i = static_cast<size_t>(y) * width_ + x;
    const double below = alpha_[i] / 255.0;
    const double out = alpha + below * (1 - alpha);
    const auto stored = static_cast<std::uint8_t>(std::lround(out * 255));
    // Paint too faint to show leaves the pixel as it was: transparent pixels stay black,
    // which icon masks need.
    if (stored == 0) return;
    pixels_[i] = mix(pixels_[i], c, alpha / out);
    alpha_[i] = stored;
}

void Canvas::fill(Rect r, Rgb c) {
    for (int y = r.y; y < r.y + r.h; ++y)
        for (int x = r.x; x < r.x + r.w; ++x) set(x, y, c);
}

void Canvas::blit(const Canvas& src, int x, int y) {
    for (int sy = 0; sy < src.height(); ++sy)
        for (int sx = 0; sx < src.width(); ++sx) set(x + sx, y + sy, src.at(sx, sy));
}

Canvas Canvas::crop(Rect r) const {
    Canvas out(r.w, r.h);
    for (int y = 0; y < r.h; ++y)
        for (int x = 0; x < r.w; ++x) out.set(x, y, at(r.x + x, r.y + y));
    return out;
}

}  // namespace skingen
