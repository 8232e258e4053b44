#include "platform/text.h"

#include <gtest/gtest.h>

#include <cmath>

namespace setup::text {
namespace {

// Double-byte characters whose second byte is 0x5C ("\\") and 0x7C ("|").
constexpr char kTrail5C[] = "\xAF\x5C";
constexpr char kTrail7C[] = "\x81\x7C";

TEST(Text, SplitDoesNotCutADoubleByteCharacterWhoseSecondByteIsABackslash) {
    std::string path = std::string("a\\") + kTrail5C + "b\\c";
    auto parts = Split(path, '\\');
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_EQ(parts[1], std::string(kTrail5C) + "b");
}

TEST(Text, FindCharSkipsTrailBytes) {
    std::string name = std::string("x") + kTrail7C;
    EXPECT_EQ(FindChar(name, '|'), std::string::npos);
    EXPECT_EQ(FindChar(name + "|", '|'), 3u);
    EXPECT_EQ(FindLastChar(std::string("a\\b") + kTrail5C, '\\'), 1u);
}

TEST(Text, TrimDropsCodesZeroToThirtyTwoOnlyAtTheEnds) {
    EXPECT_EQ(Trim(std::string_view("\0\t a b \r\n", 9)), "a b");
    EXPECT_EQ(Trim("   "), "");
}

TEST(Text, CaseFoldingTouchesAsciiLettersOnly) {
    EXPECT_EQ(AsciiUpper("pos.ini 服务器"), "POS.INI 服务器");
    EXPECT_TRUE(EqualsIgnoreAsciiCase("TessikOne商贸版.Exe", "tessikone商贸版.EXE"));
    EXPECT_FALSE(EqualsIgnoreAsciiCase("a", "ab"));
}

TEST(Text, CutToBytesNeverSplitsADoubleByteCharacter) {
    std::string chinese(600, '\xB1');  // 300 double-byte characters
    EXPECT_EQ(CutToBytes(chinese, 511).size(), 510u);
    EXPECT_EQ(CutToBytes("A" + chinese, 511).size(), 511u);
}

TEST(Text, NumbersArePaddedAndRoundedAsTheLogAndTheSizesShowThem) {
    EXPECT_EQ(Digits(0), "0");
    EXPECT_EQ(Digits(7, 2), "07");
    EXPECT_EQ(Digits(20261210, 4), "20261210");
    EXPECT_EQ(Digits(18446744073709551615ull), "18446744073709551615");
    EXPECT_EQ(FixedPoint(0.25, 3, 8), "   0.250");
    EXPECT_EQ(FixedPoint(0.96, 1), "1.0");  // the carry reaches the units
    EXPECT_EQ(FixedPoint(95.46, 1), "95.5");
    EXPECT_EQ(FixedPoint(12345.6789, 3, 4), "12345.679");  // wider than asked: nothing cut
    EXPECT_EQ(FixedPoint(3.0, 0), "3");
    EXPECT_EQ(FixedPoint(-1.0, 1), "0.0");
    EXPECT_EQ(FixedPoint(std::nan(""), 1), "0.0");
}

}  // namespace
}  // namespace setup::text
