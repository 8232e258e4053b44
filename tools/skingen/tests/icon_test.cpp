// The program icon: pictures that sit on any background, in a file Windows can read.
#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "ico.h"
#include "icon_art.h"
#include "png_reader.h"

using skingen::Canvas;
using skingen::Rgb;

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

// Reads the file the way an icon loader does, independently of the encoder.
class IconFile : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        images_ = skingen::drawIconImages();
        bytes_ = skingen::encodeIco(images_);
    }
    static std::uint32_t u16(size_t at) { return bytes_.at(at) | bytes_.at(at + 1) << 8; }
    static std::uint32_t u32(size_t at) { return u16(at) | u16(at + 2) << 16; }
    static size_t entry(size_t i) { return 6 + 16 * i; }
    static std::uint32_t length(size_t i) { return u32(entry(i) + 8); }
    static std::uint32_t offset(size_t i) { return u32(entry(i) + 12); }

    static std::vector<Canvas> images_;
    static std::vector<std::uint8_t> bytes_;
};

std::vector<Canvas> IconFile::images_;
std::vector<std::uint8_t> IconFile::bytes_;

TEST_F(IconFile, DirectoryListsFourImagesWhoseDataTilesTheRestOfTheFile) {
    EXPECT_EQ(u16(0), 0u);  // reserved
    EXPECT_EQ(u16(2), 1u);  // icon
    ASSERT_EQ(u16(4), 4u);
    const int sizes[4] = {16, 32, 48, 0};  // 0 stands for 256
    std::uint32_t next = 6 + 16 * 4;
    for (size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(testing::Message() << "entry " << i);
        EXPECT_EQ(bytes_[entry(i)], sizes[i]);
        EXPECT_EQ(bytes_[entry(i) + 1], sizes[i]);
        EXPECT_EQ(bytes_[entry(i) + 2], 0);  // no palette
        EXPECT_EQ(bytes_[entry(i) + 3], 0);
        EXPECT_EQ(u16(entry(i) + 4), 1u);   // planes
        EXPECT_EQ(u16(entry(i) + 6), 32u);  // bits per pixel
        EXPECT_EQ(offset(i), next);
        next += length(i);
    }
    EXPECT_EQ(next, bytes_.size());
}

TEST_F(IconFile, SmallEntriesAreBottomUpBgraDibsMaskedExactlyWhereTransparent) {
    for (size_t i = 0; i < 3; ++i) {
        const Canvas& image = images_[i];
        const std::uint32_t n = image.width(), at = offset(i);
        const std::uint32_t maskStride = (n + 31) / 32 * 4;
        SCOPED_TRACE(testing::Message() << n << " px");
        EXPECT_EQ(u32(at), 40u);
        EXPECT_EQ(u32(at + 4), n);
        EXPECT_EQ(u32(at + 8), 2 * n);  // colour and mask rows together
        EXPECT_EQ(u16(at + 12), 1u);
        EXPECT_EQ(u16(at + 14), 32u);
        EXPECT_EQ(u32(at + 16), 0u);  // BI_RGB
        EXPECT_EQ(u32(at + 20), n * n * 4 + maskStride * n);
        ASSERT_EQ(length(i), 40 + n * n * 4 + maskStride * n);

        const size_t colour = at + 40, mask = colour + n * n * 4;
        for (std::uint32_t y = 0; y < n; ++y) {
            const std::uint32_t row = n - 1 - y;  // bottom-up
            for (std::uint32_t x = 0; x < n; ++x) {
                const std::uint8_t* p = &bytes_[colour + (row * n + x) * 4];
                const std::uint8_t alpha = image.alphaAt(x, y);
                ASSERT_EQ((Rgb{p[2], p[1], p[0]}), image.at(x, y)) << x << "," << y;
                ASSERT_EQ(p[3], alpha) << x << "," << y;
                // Where the mask lets the screen through, the colour is black, so loaders
                // that ignore alpha still draw nothing there.
                const bool masked = bytes_[mask + row * maskStride + x / 8] & (0x80 >> x % 8);
                ASSERT_EQ(masked, alpha == 0) << x << "," << y;
                if (masked) ASSERT_EQ((Rgb{p[2], p[1], p[0]}), (Rgb{0, 0, 0}));
            }
            for (std::uint32_t pad = (n + 7) / 8; pad < maskStride; ++pad)
                ASSERT_EQ(bytes_[mask + row * maskStride + pad], 0) << "mask padding, row " << y;
        }
    }
}

TEST_F(IconFile, LargestEntryIsA256PxRgbaPngOfTheDrawnPixels) {
    const std::vector<std::uint8_t> png(bytes_.begin() + offset(3),
                                        bytes_.begin() + offset(3) + length(3));
    const testpng::Image img = testpng::read(png);
    ASSERT_EQ(img.error, "");
    ASSERT_EQ(img.width, 256u);
    ASSERT_EQ(img.height, 256u);
    const Canvas& image = images_[3];
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            const std::uint8_t* p = &img.rgba[(y * 256 + x) * 4];
            ASSERT_EQ((Rgb{p[0], p[1], p[2]}), image.at(x, y)) << x << "," << y;
            ASSERT_EQ(p[3], image.alphaAt(x, y)) << x << "," << y;
        }
    }
}

TEST(IconEncoder, RefusesImagesAnEntryCannotDescribe) {
    EXPECT_THROW(skingen::encodeIco({Canvas::transparent(16, 15)}), std::invalid_argument);
    EXPECT_THROW(skingen::encodeIco({Canvas::transparent(257, 257)}), std::invalid_argument);
    EXPECT_THROW(skingen::encodeIco({Canvas::transparent(0, 0)}), std::invalid_argument);
}

}  // namespace
