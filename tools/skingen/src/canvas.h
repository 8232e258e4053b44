// A 24-bit RGB raster with top-left origin, the drawing surface for every skin piece. A
// canvas made by Canvas::transparent() also keeps an alpha plane, for art shown over
// backgrounds it cannot know, such as the program icon.
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
    // Every pixel starts black and fully transparent. blend() composites over what is there,
    // so anti-aliased edges keep their partial alpha; set(), fill() and blit() paint opaque.
    static Canvas transparent(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    bool hasAlpha() const { return !alpha_.empty(); }

    // Out-of-range reads and writes are ignored (reads give black) so shape code may overhang.
    Rgb at(int x, int y) const;
    // 0 is transparent, 255 opaque; canvases without an alpha plane are opaque throughout.
    std::uint8_t alphaAt(int x, int y) const;
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
    std::vector<std::uint8_t> alpha_;  // empty unless made by transparent()
};

}  // namespace skingen
