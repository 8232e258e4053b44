#include "shapes.h"

#include <algorithm>
#include <cmath>

namespace skingen {
namespace {

// 5 x 5 sub-samples: smooth enough for 1-px strokes, cheap enough for the whole atlas.
constexpr int kGrid = 5;

double sampleOffset(int i) {
    return (i + 0.5) / kGrid;
}

}  // namespace

double coverage(const Inside& shape, int px, int py) {
    int hits = 0;
    for (int j = 0; j < kGrid; ++j)
        for (int i = 0; i < kGrid; ++i)
            if (shape(px + sampleOffset(i), py + sampleOffset(j))) ++hits;
    return static_cast<double>(hits) / (kGrid * kGrid);
}

void fillShape(Canvas& canvas, Rect bounds, const Inside& shape, const Paint& paint, double alpha) {
    for (int py = bounds.y; py < bounds.y + bounds.h; ++py) {
        for (int px = bounds.x; px < bounds.x + bounds.w; ++px) {
            int hits = 0;
            double r = 0, g = 0, b = 0;
            for (int j = 0; j < kGrid; ++j) {
                for (int i = 0; i < kGrid; ++i) {
                    const double sx = px + sampleOffset(i), sy = py + sampleOffset(j);
                    if (!shape(sx, sy)) continue;
                    const Rgb c = paint(sx, sy);
                    r += c.r, g += c.g, b += c.b;
                    ++hits;
                }
            }
            if (hits == 0) continue;
            const Rgb average{static_cast<std::uint8_t>(std::lround(r / hits)),
                              static_cast<std::uint8_t>(std::lround(g / hits)),
                              static_cast<std::uint8_t>(std::lround(b / hits))};
            canvas.blend(px, py, average, alpha * hits / (kGrid * kGrid));
        }
    }
}

void fillShape(Canvas& canvas, Rect bounds, const Inside& shape, Rgb colour, double alpha) {
    fillShape(canvas, bounds, shape, solid(colour), alpha);
}

void keyOutside(Canvas& canvas, Rect bounds, const Inside& shape, Rgb key) {
    for (int py = bounds.y; py < bounds.y + bounds.h; ++py)
        for (int px = bounds.x; px < bounds.x + bounds.w; ++px)
            if (coverage(shape, px, py) == 0.0) canvas.set(px, py, key);
}

Inside roundRect(double x, double y, double w, double h, double radius) {
    return [=](double px, double py) {
        if (px < x || py < y || px > x + w || py > y + h) return false;
        // Distance from the nearest corner centre only matters inside the corner squares.
        const double cx = std::clamp(px, x + radius, x + w - radius);
        const double cy = std::clamp(py, y + radius, y + h - radius);
        const double dx = px - cx, dy = py - cy;
        return dx * dx + dy * dy <= radius * radius;
    };
}

Inside circle(double cx, double cy, double radius) {
    return ellipse(cx, cy, radius, radius);
}

Inside ring(double cx, double cy, double outer, double inner) {
    return subtract(circle(cx, cy, outer), circle(cx, cy, inner));
}

Inside ellipse(double cx, double cy, double rx, double ry) {
    return [=](double px, double py) {
        const double dx = (px - cx) / rx, dy = (py - cy) / ry;
        return dx * dx + dy * dy <= 1.0;
    };
}

Inside segment(Point a, Point b, double hw) {
    return [=](double px, double py) {
        const double vx = b.x - a.x, vy = b.y - a.y;
        const double len2 = vx * vx + vy * vy;
        double t = len2 > 0 ? ((px - a.x) * vx + (py - a.y) * vy) / len2 : 0.0;
        t = std::clamp(t, 0.0, 1.0);
        const double dx = px - (a.x + t * vx), dy = py - (a.y + t * vy);
        return dx * dx + dy * dy <= hw * hw;
    };
}

Inside polygon(std::vector<Point> points) {
    return [pts = std::move(points)](double px, double py) {
        bool in = false;
        for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
            const Point& p = pts[i];
            const Point& q = pts[j];
            if ((p.y > py) != (q.y > py) && px < (q.x - p.x) * (py - p.y) / (q.y - p.y) + p.x)
                in = !in;
        }
        return in;
    };
}

Inside unite(Inside a, Inside b) {
    return [=](double x, double y) { return a(x, y) || b(x, y); };
}

Inside intersect(Inside a, Inside b) {
    return [=](double x, double y) { return a(x, y) && b(x, y); };
}

Inside subtract(Inside a, Inside b) {
    return [=](double x, double y) { return a(x, y) && !b(x, y); };
}

Paint verticalGradient(double y0, double y1, Rgb top, Rgb bottom) {
    return [=](double, double y) { return mix(top, bottom, (y - y0) / (y1 - y0)); };
}

Paint horizontalGradient(double x0, double x1, Rgb left, Rgb right) {
    return [=](double x, double) { return mix(left, right, (x - x0) / (x1 - x0)); };
}

Paint solid(Rgb c) {
    return [c](double, double) { return c; };
}

}  // namespace skingen
