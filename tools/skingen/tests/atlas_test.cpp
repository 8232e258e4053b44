// Checks the atlas bytes the installer depends on: the BMP layout and the key-colour
// conventions of the keyed pieces, read back at their shipped rectangles.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "atlas.h"
#include "bmp.h"
#include "font.h"

namespace {

struct Pixel {
    int r, g, b;
    bool operator==(const Pixel&) const = default;
};

constexpr Pixel kWhite{255, 255, 255};
constexpr Pixel kBlack{0, 0, 0};

// Reads the file the way a BMP loader does, independently of the encoder.
class BmpView {
public:
    explicit BmpView(const std::vector<std::uint8_t>& bytes) : b_(bytes) {}
    std::uint32_t u16(size_t at) const { return b_[at] | b_[at + 1] << 8; }
    std::uint32_t u32(size_t at) const { return u16(at) | u16(at + 2) << 16; }
    std::int32_t width() const { return static_cast<std::int32_t>(u32(18)); }
    std::int32_t height() const { return static_cast<std::int32_t>(u32(22)); }
    size_t stride() const { return (width() * 3 + 3) & ~3; }
    Pixel at(int x, int y) const {
        const size_t row = u32(10) + (height() - 1 - y) * stride();
        const size_t i = row + x * 3;
        return {b_[i + 2], b_[i + 1], b_[i]};
    }

private:
    const std::vector<std::uint8_t>& b_;
};

class AtlasTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const skingen::Font font(SKINGEN_TEST_FONT);
        bytes_ = skingen::encodeBmp(skingen::renderAtlas(font));
    }
    static BmpView bmp() { return BmpView(bytes_); }
    static std::vector<std::uint8_t> bytes_;
};

std::vector<std::uint8_t> AtlasTest::bytes_;

TEST_F(AtlasTest, IsAnUncompressed24BitBottomUpBmpOfTheShippedSize) {
    ASSERT_EQ(bytes_.size(), 2328586u);
    const BmpView v = bmp();
    EXPECT_EQ(bytes_[0], 'B');
    EXPECT_EQ(bytes_[1], 'M');
    EXPECT_EQ(v.u32(2), 2328586u);  // bfSize
    EXPECT_EQ(v.u32(10), 54u);      // pixel data offset
    EXPECT_EQ(v.u32(14), 40u);      // BITMAPINFOHEADER
    EXPECT_EQ(v.width(), 1025);
    EXPECT_EQ(v.height(), 757);  // positive: bottom-up rows
    EXPECT_EQ(v.u16(26), 1u);    // planes
    EXPECT_EQ(v.u16(28), 24u);   // bits per pixel
    EXPECT_EQ(v.u32(30), 0u);    // BI_RGB
    EXPECT_EQ(v.u32(34), 3076u * 757u);
    // Row padding must be zero, so that identical art gives identical files.
    for (int y = 0; y < 757; ++y) EXPECT_EQ(bytes_[54 + y * 3076 + 3075], 0) << "row " << y;
}

TEST_F(AtlasTest, ProgressFrameHasKeyCornersAndStretchableMiddle) {
    const BmpView v = bmp();
    const int x0 = 766, y0 = 101, w = 30, h = 19;
    // The installer keys on the bottom-left pixel; all four corners must match it.
    EXPECT_EQ(v.at(x0, y0 + h - 1), kWhite);
    EXPECT_EQ(v.at(x0, y0), kWhite);
    EXPECT_EQ(v.at(x0 + w - 1, y0), kWhite);
    EXPECT_EQ(v.at(x0 + w - 1, y0 + h - 1), kWhite);
    // Columns 5..24 are repeated when the frame is stretched.
    for (int x = x0 + 6; x < x0 + 25; ++x)
        for (int y = y0; y < y0 + h; ++y)
            ASSERT_EQ(v.at(x, y), v.at(x0 + 5, y)) << "column " << x - x0 << " row " << y - y0;
    // The key colour inside the frame would punch holes in it.
    for (int y = y0 + 1; y < y0 + h - 1; ++y) EXPECT_NE(v.at(x0 + 15, y), kWhite);
}

TEST_F(AtlasTest, ProgressFillColumnsMatch) {
    const BmpView v = bmp();
    for (int y = 103; y < 103 + 15; ++y) EXPECT_EQ(v.at(760, y), v.at(761, y)) << "row " << y;
}

TEST_F(AtlasTest, ButtonFramesAreKeyedAndOnlyTheFirstCarriesTheBlackMark) {
    const BmpView v = bmp();
    const int x0 = 515, y0 = 76, fw = 55, h = 23;
    for (int frame = 0; frame < 4; ++frame) {
        const int fx = x0 + frame * fw;
        SCOPED_TRACE(testing::Message() << "frame " << frame);
        EXPECT_EQ(v.at(fx + fw - 1, y0), kWhite);
        EXPECT_EQ(v.at(fx, y0 + h - 1), kWhite);
        EXPECT_EQ(v.at(fx + fw - 1, y0 + h - 1), kWhite);
        // The face itself must be neither key nor mark colour.
        for (int y = y0 + 2; y < y0 + h - 2; ++y) {
            EXPECT_NE(v.at(fx + fw / 2, y), kWhite);
            EXPECT_NE(v.at(fx + fw / 2, y), kBlack);
        }
        int black = 0;
        for (int y = y0; y < y0 + h; ++y)
            for (int x = fx; x < fx + fw; ++x) {
                const Pixel p = v.at(x, y);
                if (p != kBlack) continue;
                ++black;
                EXPECT_TRUE(frame == 0 && x - fx < 6 && y - y0 < 6)
                    << "black at " << x - fx << "," << y - y0;
            }
        if (frame == 0)
            EXPECT_GT(black, 0) << "the first frame needs black pixels in its top-left corner";
        else
            EXPECT_EQ(v.at(fx, y0), kWhite);
    }
}

TEST_F(AtlasTest, EveryPieceIsFullyDrawnAtItsShippedRectangle) {
    // Any gap colour inside a rectangle means a piece is missing, misplaced or too small.
    const Pixel gap{200, 200, 200};
    struct Area {
        const char* key;
        int x, y, w, h;
    };
    const Area areas[] = {
        {"FrmTop1BackRect", 2, 10, 510, 63},
        {"FrmTop2BackRect", 513, 10, 510, 63},
        {"FrmCenter1BackRect", 2, 122, 510, 295},
        {"FrmCenter2BackRect", 2, 422, 510, 295},
        {"FrmCenter3BackRect", 513, 122, 510, 295},
        {"FrmCenter4BackRect", 513, 422, 510, 295},
        {"FrmBottomBackRect", 2, 78, 510, 39},
        {"PrBBackRect", 766, 101, 30, 19},
        {"PrBBarRect", 760, 103, 2, 15},
        {"BtnRect", 515, 76, 220, 23},
        {"BtnCloseRect", 515, 101, 108, 19},
    };
    const BmpView v = bmp();
    for (const Area& a : areas) {
        int gaps = 0;
        for (int y = a.y; y < a.y + a.h; ++y)
            for (int x = a.x; x < a.x + a.w; ++x) gaps += v.at(x, y) == gap;
        EXPECT_EQ(gaps, 0) << a.key;
    }
}

TEST_F(AtlasTest, EachPageHighlightsItsOwnStep) {
    // Page origins in page order; the band's chevrons split the width in four.
    const int pages[4][2] = {{2, 122}, {2, 422}, {513, 122}, {513, 422}};
    const BmpView v = bmp();
    for (int page = 0; page < 4; ++page) {
        for (int step = 0; step < 4; ++step) {
            // A point inside the chevron, left of its caption.
            const Pixel p = v.at(pages[page][0] + 20 + step * 126, pages[page][1] + 8);
            const bool strongBlue = p.b > 150 && p.r < 110;
            EXPECT_EQ(strongBlue, step == page) << "page " << page << " step " << step;
        }
    }
}

TEST_F(AtlasTest, LicenceFieldIsWhiteWithABorderJustOutside) {
    const BmpView v = bmp();
    const int x0 = 2 + 15, y0 = 122 + 67, w = 480, h = 217;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) ASSERT_EQ(v.at(x, y), kWhite) << x - x0 << "," << y - y0;
    for (int x = x0; x < x0 + w; ++x) {
        EXPECT_NE(v.at(x, y0 - 1), kWhite);
        EXPECT_NE(v.at(x, y0 + h), kWhite);
    }
    for (int y = y0; y < y0 + h; ++y) {
        EXPECT_NE(v.at(x0 - 1, y), kWhite);
        EXPECT_NE(v.at(x0 + w, y), kWhite);
    }
}

TEST_F(AtlasTest, InstallPageProgressSlotMatchesTheProgressFrame) {
    // The stretched frame is drawn over the slot, so their straight parts must agree.
    const BmpView v = bmp();
    const int slotX = 513 + 30, slotY = 122 + 251;
    for (int row = 0; row < 19; ++row) {
        EXPECT_EQ(v.at(slotX + 225, slotY + row), v.at(766 + 15, 101 + row)) << "row " << row;
    }
    EXPECT_EQ(v.at(slotX, slotY + 9), v.at(766, 101 + 9));
}

}  // namespace
