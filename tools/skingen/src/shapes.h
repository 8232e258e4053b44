// Anti-aliased filling of arbitrary shapes. A shape is an inside test on continuous
// coordinates (pixel (x, y) covers [x, x+1) x [y, y+1)); coverage comes from a fixed grid of
// sub-samples, which keeps the output exact and repeatable from run to run.
#pragma once

#include <functional>
#include <vector>

#include "canvas.h"

namespace skingen {

using Inside = std::function<bool(double x, double y)>;
using Paint = std::function<Rgb(double x, double y)>;

struct Point {
    double x, y;
};

// Fraction of pixel (px, py) inside the shape, from 0 to 1.
double coverage(const Inside& shape, int px, int py);

// Paints the shape within `bounds`, averaging the paint over the covered sub-samples and
// blending by coverage times alpha.
void fillShape(Canvas& canvas, Rect bounds, const Inside& shape, const Paint& paint,
               double alpha = 1.0);
void fillShape(Canvas& canvas, Rect bounds, const Inside& shape, Rgb colour, double alpha = 1.0);

// Sets every pixel in `bounds` that the shape does not touch at all to `key`. Partly covered
// pixels keep their blend, so edges stay smooth against the background they were drawn on.
void keyOutside(Canvas& canvas, Rect bounds, const Inside& shape, Rgb key);

// Inside tests for the shapes the skin uses.
Inside roundRect(double x, double y, double w, double h, double radius);
Inside circle(double cx, double cy, double radius);
Inside ring(double cx, double cy, double outer, double inner);
Inside ellipse(double cx, double cy, double rx, double ry);
// A stroke of half-width hw along the segment, with round caps.
Inside segment(Point a, Point b, double hw);
// Even-odd rule polygon.
Inside polygon(std::vector<Point> points);
Inside unite(Inside a, Inside b);
Inside intersect(Inside a, Inside b);
Inside subtract(Inside a, Inside b);

// Paints that vary along one axis between two colours, clamped outside [from, to].
Paint verticalGradient(double y0, double y1, Rgb top, Rgb bottom);
Paint horizontalGradient(double x0, double x1, Rgb left, Rgb right);
Paint solid(Rgb c);

}  // namespace skingen
