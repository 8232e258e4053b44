// The program icon: pictures that sit on any background, and a file Windows can read.
#include <gtest/gtest.h>

#include "icon_art.h"

using skingen::Canvas;

namespace {

TEST(IconArt, EverySizeIsTransparentAroundAnOpaqueSoftEdgedGlobe) {
    const std::vector<Canvas> images = skingen::drawIconImages();
    ASSERT_EQ(images.size(), skingen::kIconSizes.size());
    for (size_t i = 0; i < images.size(); ++i) {
        const Canvas& image = images[i];
        const int n = skingen::kIconSizes[i];
        SCOPED_TRACE(testing::Message() << n << " px");
        ASSERT_EQ(image.width(), n);
        ASSERT_EQ(image.height(), n);
        EXPECT_EQ(image.alphaAt(n / 2, n / 2), 255);
        // A clear outermost ring means nothing, halo included, was cut off at the edge.
        for (int k = 0; k < n; ++k) {
            EXPECT_EQ(image.alphaAt(k, 0), 0) << "top, column " << k;
            EXPECT_EQ(image.alphaAt(k, n - 1), 0) << "bottom, column " << k;
            EXPECT_EQ(image.alphaAt(0, k), 0) << "left, row " << k;
            EXPECT_EQ(image.alphaAt(n - 1, k), 0) << "right, row " << k;
        }
        int partial = 0;
        for (int y = 0; y < n; ++y)
            for (int x = 0; x < n; ++x) partial += image.alphaAt(x, y) % 255 != 0;
        EXPECT_GE(partial, n) << "the outline is not anti-aliased";
    }
}

}  // namespace
