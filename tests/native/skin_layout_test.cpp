// The skin's eleven rectangles stand in three places: the rectangles skingen draws the pieces at,
// the demo settings file that packs them, and the shipped settings the tests use. They must agree.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "../../tools/skingen/src/layout.h"
#include "format/settings_syntax.h"
#include "support/shipped_settings.h"

namespace setup {
namespace {

std::string Rectangle(const skingen::Rect& r) {
    return std::to_string(r.x) + "," + std::to_string(r.y) + "," + std::to_string(r.w) + "," +
           std::to_string(r.h);
}

TEST(SkinLayout, DrawnPiecesDemoSettingsAndShippedSettingsAgree) {
    std::ifstream demo(DEMO_SETTINGS_FILE);
    ASSERT_TRUE(demo) << DEMO_SETTINGS_FILE;
    std::string line;
    for (std::size_t i = 0; i < skingen::kPieces.size(); ++i) {
        const skingen::Piece& piece = skingen::kPieces[i];
        const std::string expected = std::string(piece.key) + "=" + Rectangle(piece.rect);
        ASSERT_TRUE(std::getline(demo, line));
        if (!line.empty() && line.back() == '\r') line.pop_back();
        EXPECT_EQ(line, expected) << "demo/settings.txt line " << i + 1;
        EXPECT_EQ(testing::kShippedSettings[i], expected) << "shipped setting " << i + 1;
    }
}

}  // namespace
}  // namespace setup
