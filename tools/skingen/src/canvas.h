// A plain 24-bit RGB raster with top-left origin, the drawing surface for every skin piece.
#pragma once

#include <cstdint>
#include <vector>

namespace skingen {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Linear blend: t = 0 gives a, t = 1 gives b. t is clamped to [0, 1].
Rgb mix(Rgb a, Rgb b, double t);

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
};

class Canvas {
public:
    Canvas(int width, int height, Rgb fill = {});

    int width() const { return width_; }
    int height() const { return height_; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    // Out-of-range reads and writes are ignored (reads give black) so shape code may overhang.
    Rgb at(int x, int y) const;
    void set(int x, int y, Rgb c);
    // Paints c over the pixel with opacity alpha in [0, 1].
    void blend(int x, int y, Rgb c, double alpha);

    void fill(Rect r, Rgb c);
    // Copies src with its top-left corner at (x, y).
    void blit(const Canvas& src, int x, int y);
    Canvas crop(Rect r) const;

private:
    int width_, height_;
    std::vector<Rgb> pixels_;
};

}  // namespace skingen
