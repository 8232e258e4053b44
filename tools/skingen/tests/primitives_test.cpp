// Drawing and file primitives whose faults would not show in a glance at the atlas:
// channel order, row order and padding, coverage at keyed corners, clipping, safe writes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "bmp.h"
#include "canvas.h"
#include "shapes.h"

namespace fs = std::filesystem;
using skingen::Canvas;
using skingen::Rgb;

namespace {

TEST(BmpEncoder, StoresBgrRowsBottomUpWithZeroPadding) {
    // Width 3 needs 3 bytes of padding per row; distinct channels expose any swap.
    Canvas c(3, 2, Rgb{0, 0, 0});
    c.set(0, 0, {10, 20, 30});
    c.set(2, 1, {40, 50, 60});
    const auto bytes = skingen::encodeBmp(c);
    ASSERT_EQ(bytes.size(), 54u + 2 * 12);
    // Bottom row (y = 1) comes first.
    const size_t bottom = 54, top = 54 + 12;
    EXPECT_EQ(bytes[bottom + 6], 60);
    EXPECT_EQ(bytes[bottom + 7], 50);
    EXPECT_EQ(bytes[bottom + 8], 40);
    EXPECT_EQ(bytes[top + 0], 30);
    EXPECT_EQ(bytes[top + 1], 20);
    EXPECT_EQ(bytes[top + 2], 10);
    for (int pad = 9; pad < 12; ++pad) {
        EXPECT_EQ(bytes[bottom + pad], 0);
        EXPECT_EQ(bytes[top + pad], 0);
    }
}

TEST(WriteFile, FailureLeavesNoFileAndSuccessReplacesAtomically) {
    const fs::path dir =
        fs::temp_directory_path() / ("skingen-write-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::string error;
    EXPECT_FALSE(skingen::writeFile((dir / "missing" / "a.bmp").string(), {1, 2}, error));
    EXPECT_FALSE(error.empty());

    const fs::path target = dir / "a.bmp";
    ASSERT_TRUE(skingen::writeFile(target.string(), {1, 2, 3}, error)) << error;
    ASSERT_TRUE(skingen::writeFile(target.string(), {7}, error)) << error;
    std::ifstream in(target, std::ios::binary);
    const std::string got{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(got, std::string(1, '\7'));
    EXPECT_FALSE(fs::exists(dir / "a.bmp.tmp"));
    fs::remove_all(dir);
}

TEST(Shapes, RoundedCornerLeavesOutermostPixelsUncovered) {
    // Keyed pieces rely on these pixels being wholly outside a radius-5 shape.
    const auto shape = skingen::roundRect(0, 0, 55, 23, 5);
    EXPECT_EQ(skingen::coverage(shape, 0, 0), 0.0);
    EXPECT_EQ(skingen::coverage(shape, 1, 0), 0.0);
    EXPECT_EQ(skingen::coverage(shape, 0, 1), 0.0);
    EXPECT_GT(skingen::coverage(shape, 1, 1), 0.0);
    EXPECT_EQ(skingen::coverage(shape, 27, 0), 1.0);
    EXPECT_EQ(skingen::coverage(shape, 54, 11), 1.0);
    EXPECT_EQ(skingen::coverage(shape, 54, 22), 0.0);
}

TEST(Shapes, FillBlendsEdgesAndKeyOnlyReplacesUntouchedPixels) {
    Canvas c(10, 10, Rgb{100, 100, 100});
    const auto disc = skingen::circle(5, 5, 3.3);
    skingen::fillShape(c, {0, 0, 10, 10}, disc, Rgb{0, 0, 200});
    EXPECT_EQ(c.at(5, 5), (Rgb{0, 0, 200}));
    const Rgb edge = c.at(8, 5);  // partly covered
    EXPECT_GT(edge.b, 100);
    EXPECT_LT(edge.b, 200);

    skingen::keyOutside(c, {0, 0, 10, 10}, disc, Rgb{255, 255, 255});
    EXPECT_EQ(c.at(0, 0), (Rgb{255, 255, 255}));
    EXPECT_EQ(c.at(8, 5), edge);
    EXPECT_EQ(c.at(5, 5), (Rgb{0, 0, 200}));
}

TEST(Shapes, PolygonUsesEvenOddRule) {
    // A square with a square hole, traced as one outline through a zero-width seam.
    const auto frame = skingen::polygon(
        {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}, {3, 3}, {3, 7}, {7, 7}, {7, 3}, {3, 3}});
    EXPECT_TRUE(frame(1.5, 5));
    EXPECT_FALSE(frame(5, 5));
    EXPECT_FALSE(frame(11, 5));
}

TEST(Canvas, DrawingPastTheEdgesIsClippedNotWritten) {
    Canvas c(4, 4, Rgb{1, 2, 3});
    c.set(-1, 0, {9, 9, 9});
    c.set(4, 3, {9, 9, 9});
    c.fill({-5, -5, 20, 2}, {9, 9, 9});
    skingen::fillShape(c, {-10, -10, 30, 30}, skingen::circle(-3, -3, 2), Rgb{9, 9, 9});
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(c.at(x, y), (Rgb{1, 2, 3}));
}

TEST(Canvas, TransparentPixelsTakePaintColourUndarkenedAndCoverageAsAlpha) {
    Canvas opaque(2, 2);
    EXPECT_EQ(opaque.alphaAt(1, 1), 255);

    Canvas c = Canvas::transparent(10, 10);
    // Paint that rounds to no alpha at all must not tint a transparent pixel either.
    c.blend(3, 3, {200, 100, 50}, 0.001);
    EXPECT_EQ(c.alphaAt(3, 3), 0);
    EXPECT_EQ(c.at(3, 3), (Rgb{0, 0, 0}));
    // Half-covered paint on nothing: its own colour, not a blend toward the black below.
    c.blend(0, 0, {200, 0, 0}, 0.5);
    EXPECT_EQ(c.at(0, 0), (Rgb{200, 0, 0}));
    EXPECT_EQ(c.alphaAt(0, 0), 128);
    // A second half layer over 128/255: alpha about 0.75, the new colour weighs 2/3 of it.
    c.blend(0, 0, {0, 0, 200}, 0.5);
    EXPECT_EQ(c.alphaAt(0, 0), 192);
    EXPECT_EQ(c.at(0, 0), (Rgb{67, 0, 133}));

    skingen::fillShape(c, {0, 0, 10, 10}, skingen::circle(5, 5, 3.3), Rgb{0, 0, 200});
    EXPECT_EQ(c.alphaAt(5, 5), 255);
    EXPECT_EQ(c.at(8, 5), (Rgb{0, 0, 200}));  // edge: partial alpha, full colour
    EXPECT_GT(c.alphaAt(8, 5), 0);
    EXPECT_LT(c.alphaAt(8, 5), 255);
    EXPECT_EQ(c.alphaAt(9, 9), 0);
    c.set(9, 9, {1, 2, 3});
    EXPECT_EQ(c.alphaAt(9, 9), 255);
}

}  // namespace
