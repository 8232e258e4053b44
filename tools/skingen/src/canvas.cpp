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

Rgb Canvas::at(int x, int y) const {
    return contains(x, y) ? pixels_[static_cast<size_t>(y) * width_ + x] : Rgb{};
}

void Canvas::set(int x, int y, Rgb c) {
    if (contains(x, y)) pixels_[static_cast<size_t>(y) * width_ + x] = c;
}

void Canvas::blend(int x, int y, Rgb c, double alpha) {
    if (!contains(x, y) || alpha <= 0.0) return;
    set(x, y, alpha >= 1.0 ? c : mix(at(x, y), c, alpha));
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
