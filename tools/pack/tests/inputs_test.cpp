// The settings file, the skin bitmap and the licence text: what the installer would misread or cut
// is refused with the file and line, never passed on.
#include <gtest/gtest.h>

#include "bmp_check.h"
#include "gbk.h"
#include "licence.h"
#include "settings_file.h"
#include "test_support.h"

namespace pack {
namespace {

std::string SettingsText(int lines, const std::string& line_end = "\n") {
    std::string text;
    for (int i = 0; i < lines; ++i) text += "Key" + std::to_string(i) + "=值" + line_end;
    return text;
}

TEST(Settings, TwentyThreeLinesWithBomCrLfAndBlankLinesAreRead) {
    std::string text = "\xEF\xBB\xBF\r\n" + SettingsText(12, "\r\n") + "  \n" + SettingsText(11);
    Settings s = ParseSettings(text, "settings.txt");
    EXPECT_TRUE(s.problems.empty()) << Describe(s.problems.front());
    ASSERT_EQ(s.lines.size(), 23u);
    EXPECT_EQ(s.lines[0], "Key0=值");
    EXPECT_EQ(s.line_numbers[0], 2);
    EXPECT_EQ(s.line_numbers[12], 15);
}

TEST(Settings, WrongCountAndLinesWithoutEqualsAreRefused) {
    Settings few = ParseSettings(SettingsText(22), "s.txt");
    ASSERT_EQ(few.problems.size(), 1u);
    EXPECT_NE(few.problems[0].message.find("22 non-blank lines"), std::string::npos);

    Settings no_equals = ParseSettings("Company Tessik\n" + SettingsText(22), "s.txt");
    ASSERT_EQ(no_equals.problems.size(), 1u);
    EXPECT_EQ(no_equals.problems[0].line, 1);
}

TEST(Settings, TwoEqualsSignsOnlyWarnBecauseTheInstallerSkipsTheLine) {
    Settings s = ParseSettings("A=b=c\n" + SettingsText(22), "s.txt");
    EXPECT_TRUE(s.problems.empty());
    ASSERT_EQ(s.warnings.size(), 1u);
    EXPECT_EQ(s.warnings[0].line, 1);
}

TEST(TableLine, LengthCountsGbkBytesNotUtf8Bytes) {
    std::string chinese;
    for (int i = 0; i < 255; ++i) chinese += "汉";  // 765 bytes of UTF-8, 510 of GBK
    EXPECT_FALSE(CheckTableLine("x" + chinese));
    EXPECT_TRUE(CheckTableLine("xx" + chinese));
    EXPECT_FALSE(CheckTableLine(std::string(511, 'a')));
    EXPECT_TRUE(CheckTableLine(std::string(512, 'a')));
}

TEST(TableLine, TextWithoutAGbkFormOrWithControlCharactersIsRefused) {
    std::optional<std::string> korean = CheckTableLine("Name=한국");
    ASSERT_TRUE(korean);
    EXPECT_EQ(*korean, "character 6 (\"한\", U+D55C) has no GBK (code page 936) form");
    EXPECT_TRUE(CheckTableLine("Name=\xff\xfe"));  // not UTF-8
    EXPECT_TRUE(CheckTableLine("Name=a\x01"));
    EXPECT_FALSE(CheckTableLine("Name=a\tb €"));  // code page 936 has the euro sign
    EXPECT_EQ(Utf8ToGbk("软件"), std::string("\xC8\xED\xBC\xFE"));
}

TEST(Rectangles, ReadLikeTheInstallerReadsThem) {
    std::optional<setup::format::PieceRect> r = RectOfLine("BtnRect= 515, 76 ,220,23,99");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->x, 515);
    EXPECT_EQ(r->h, 23);
    EXPECT_FALSE(RectOfLine("BtnRect=515,76,220"));
    EXPECT_FALSE(RectOfLine("BtnRect=515,76,220,x"));
    EXPECT_FALSE(RectOfLine("BtnRect=515,76,220,99999999999"));
}

TEST(SkinBitmap, AcceptsA24BitBottomUpBitmap) {
    BmpCheck check = CheckSkinBitmap(testing::Bitmap(1025, 757));
    ASSERT_TRUE(check.info) << check.problem;
    EXPECT_EQ(check.info->width, 1025);
    EXPECT_EQ(check.info->height, 757);
}

TEST(SkinBitmap, RefusesOtherDepthsCompressionTopDownAndWrongSizes) {
    EXPECT_NE(CheckSkinBitmap(testing::Bitmap(10, 10, 32)).problem.find("32 bits"),
              std::string::npos);
    std::string compressed = testing::Bitmap(10, 10);
    testing::PutLe(compressed, 30, 1, 4);
    EXPECT_FALSE(CheckSkinBitmap(compressed).info);
    EXPECT_NE(CheckSkinBitmap(testing::Bitmap(10, -10)).problem.find("bottom-up"),
              std::string::npos);
    std::string truncated = testing::Bitmap(10, 10);
    truncated.resize(truncated.size() - 1);
    EXPECT_NE(CheckSkinBitmap(truncated).problem.find("states"), std::string::npos);
    std::string short_pixels = testing::Bitmap(10, 10);
    testing::PutLe(short_pixels, 22, 11, 4);  // one row more than the file holds
    EXPECT_NE(CheckSkinBitmap(short_pixels).problem.find("does not fit"), std::string::npos);
    EXPECT_FALSE(CheckSkinBitmap("GIF89a").info);
    EXPECT_FALSE(CheckSkinBitmap("").info);
}

TEST(Licence, EveryLineEndBecomesCrLfAndTheTextEndsWithOne) {
    EXPECT_EQ(ConvertLicence("一\n二\r\n三\r四", "l.txt").gbk,
              "\xD2\xBB\r\n\xB6\xFE\r\n\xC8\xFD\r\n\xCB\xC4\r\n");
    EXPECT_EQ(ConvertLicence("\xEF\xBB\xBF"
                             "a\n\nb\n",
                             "l.txt")
                  .gbk,
              "a\r\n\r\nb\r\n");
    EXPECT_EQ(ConvertLicence("", "l.txt").gbk, "");
}

TEST(Licence, NulAndCharactersWithoutGbkFormAreRefusedByLine) {
    Licence nul = ConvertLicence(std::string("a\nb\0c\n", 6), "l.txt");
    ASSERT_EQ(nul.problems.size(), 1u);
    EXPECT_EQ(nul.problems[0].line, 2);
    Licence korean = ConvertLicence("协议\n第二行\nab한\n", "l.txt");
    ASSERT_EQ(korean.problems.size(), 1u);
    EXPECT_EQ(Describe(korean.problems[0]),
              "l.txt:3: character 3 (\"한\", U+D55C) has no GBK (code page 936) form");
    Licence broken = ConvertLicence("ok\n\xE5\x8D\n", "l.txt");
    ASSERT_EQ(broken.problems.size(), 1u);
    EXPECT_EQ(Describe(broken.problems[0]), "l.txt:2: character 1 is not valid UTF-8");
}

}  // namespace
}  // namespace pack
