// Text drawing with FreeType: grey-scale anti-aliased glyphs blended onto a canvas.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "canvas.h"

namespace skingen {

class FontError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TextStyle {
    int pixelSize = 13;
    Rgb colour{};
    bool bold = false;
};

class Font {
public:
    // Throws FontError naming the file when it is missing or unreadable.
    explicit Font(const std::string& path);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    // Advance width of a UTF-8 string in whole pixels.
    int measure(std::string_view utf8, const TextStyle& style) const;
    // Distance from the baseline to the top of typical capitals and CJK glyphs.
    int ascent(const TextStyle& style) const;
    // Draws with the left edge at x and the baseline at y.
    void draw(Canvas& canvas, std::string_view utf8, int x, int baseline,
              const TextStyle& style) const;
    // Centres the string horizontally on cx and vertically on cy (by its ascent).
    void drawCentred(Canvas& canvas, std::string_view utf8, double cx, double cy,
                     const TextStyle& style) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace skingen
