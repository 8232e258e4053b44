// The PNG encoder against an independent reader: every pixel and alpha value must come back,
// whichever row filters the encoder picked, inside a file other programs accept.
#include <gtest/gtest.h>

#include "canvas.h"
#include "globe.h"
#include "png.h"
#include "png_reader.h"
#include "shapes.h"

using skingen::Canvas;
using skingen::Rgb;

namespace {

void expectSamePixels(const Canvas& drawn, const testpng::Image& img) {
    ASSERT_EQ(img.width, static_cast<std::uint32_t>(drawn.width()));
    ASSERT_EQ(img.height, static_cast<std::uint32_t>(drawn.height()));
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            const std::uint8_t* p = &img.rgba[(static_cast<size_t>(y) * img.width + x) * 4];
            const Rgb c = drawn.at(x, y);
            ASSERT_EQ((Rgb{p[0], p[1], p[2]}), c) << "at " << x << "," << y;
            ASSERT_EQ(p[3], drawn.alphaAt(x, y)) << "at " << x << "," << y;
        }
    }
}

TEST(PngEncoder, RoundTripsEveryPixelAndAlphaWithValidChunks) {
    // Gradients, flat transparency and a shaded globe make the encoder use several filters.
    Canvas c = Canvas::transparent(70, 60);
    skingen::fillShape(c, {0, 0, 70, 20}, skingen::roundRect(0, 0, 70, 20, 6),
                       skingen::horizontalGradient(0, 70, {250, 10, 30}, {5, 200, 90}), 0.8);
    skingen::drawGlobe(c, 35, 38, 18, {});
    const testpng::Image img = testpng::read(skingen::encodePng(c));
    ASSERT_EQ(img.error, "");
    EXPECT_EQ(img.chunks, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
    EXPECT_EQ(img.interlace, 0);
    EXPECT_GE(img.filters.size(), 3u) << "too few filters exercised for a real round trip";
    expectSamePixels(c, img);
}

TEST(PngEncoder, OpaqueCanvasIsStoredFullyOpaque) {
    Canvas c(5, 3, Rgb{9, 8, 7});
    c.set(4, 2, {1, 2, 3});
    const testpng::Image img = testpng::read(skingen::encodePng(c));
    ASSERT_EQ(img.error, "");
    expectSamePixels(c, img);
}

}  // namespace
