#include "data/settings.h"

#include <gtest/gtest.h>

#include <map>

#include "platform/error.h"
#include "doubles/memory_resources.h"
#include "support/shipped_settings.h"

namespace setup {
namespace {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (unsigned i = 0; i < testing::kShippedSettings.size(); ++i)
            resources.SetString(kFirstSettingId + i, std::string(testing::kShippedSettings[i]));
    }
    void Read() {
        settings = ReadSetupSettings(resources);
        strings = settings.strings;
        pieces.clear();
        for (int i = 0; i < kSkinPieceCount; ++i)
            if (settings.pieces[i]) pieces[static_cast<SkinPiece>(i)] = *settings.pieces[i];
    }
    std::string ErrorOfRead() {
        Read();
        return settings.error ? settings.error->what() : "no error";
    }

    MemoryResources resources;
    SetupSettings settings;
    ProductStrings strings;
    std::map<SkinPiece, PieceRect> pieces;
};

TEST_F(SettingsTest, ShippedTableFillsEveryPieceAndName) {
    Read();
    EXPECT_TRUE(settings.Parsed());
    EXPECT_EQ(settings.Problem(), "");
    ASSERT_EQ(pieces.size(), 11u);
    EXPECT_EQ(pieces[SkinPiece::FrmTop1Back], (PieceRect{2, 10, 510, 63}));
    EXPECT_EQ(pieces[SkinPiece::BtnClose], (PieceRect{515, 101, 108, 19}));
    EXPECT_EQ(strings.Company, "Tessik软件");
    EXPECT_EQ(strings.MainExeName, "TessikOne商贸版.Exe");
    EXPECT_EQ(strings.SoftForFreeExeName, "TessikOne商贸免费版.exe");
}

TEST_F(SettingsTest, IdAloneDecidesTheSetting) {
    resources.SetString(1012, "Compnay=Tessik软件");  // misspelt key
    resources.SetString(1016, "SoftVersion=6.0.2");  // keys of 1016 and 1017 exchanged
    resources.SetString(1017, "SoftYear=2017");
    Read();
    EXPECT_EQ(strings.Company, "Tessik软件");
    EXPECT_EQ(strings.SoftYear, "6.0.2");
    EXPECT_EQ(strings.SoftVersion, "2017");
}

TEST_F(SettingsTest, LineMustSplitIntoExactlyKeyAndValue) {
    resources.SetString(1012, "Company");
    Read();
    EXPECT_EQ(strings.Company, "");
    EXPECT_TRUE(settings.Parsed());  // a skipped line is no error

    resources.SetString(1012, "Company=a=b");
    Read();
    EXPECT_EQ(strings.Company, "");

    resources.SetString(1012, "Company=");
    Read();
    EXPECT_EQ(strings.Company, "");

    resources.RemoveString(1010);  // a missing rectangle leaves its piece uncut
    Read();
    EXPECT_EQ(pieces.count(SkinPiece::Btn), 0u);
}

TEST_F(SettingsTest, BlanksAroundFieldsDropBlanksInsideStay) {
    resources.SetString(1013, "  Soft Sys Name \t=  Tessik One 商贸版  ");
    resources.SetString(1001, "FrmTop1BackRect = 2, 10,\t510 , 63, 999");
    Read();
    EXPECT_EQ(strings.SoftSysName, "Tessik One 商贸版");
    EXPECT_EQ(pieces[SkinPiece::FrmTop1Back], (PieceRect{2, 10, 510, 63}));
}

// The pass stops at the bad line; the table is then unparsed, and its problem names the line.
TEST_F(SettingsTest, ThreeNumbersStopThePassAtTheFourthIndex) {
    resources.SetString(1002, "FrmTop2BackRect=513,10,510");
    EXPECT_EQ(ErrorOfRead(), "List index out of bounds (3)");
    EXPECT_EQ(pieces.count(SkinPiece::FrmTop1Back), 1u);
    EXPECT_EQ(pieces.count(SkinPiece::FrmCenter1Back), 0u);  // later ids are not read
    EXPECT_EQ(strings.Company, "");
    EXPECT_FALSE(settings.Parsed());
    EXPECT_EQ(settings.Problem(), "setting 1002: List index out of bounds (3)");
}

TEST_F(SettingsTest, FourthFieldIsConvertedFirstAndNamedInTheError) {
    resources.SetString(1003, "FrmCenter1BackRect=2,122,wide,high");
    EXPECT_EQ(ErrorOfRead(), "'high' is not a valid integer value");
    resources.SetString(1003, "FrmCenter1BackRect=x,122,wide,295");
    EXPECT_EQ(ErrorOfRead(), "'wide' is not a valid integer value");
}

TEST(StrToInt, AcceptsSignAndDigitsInThe32BitRangeOnly) {
    EXPECT_EQ(StrToInt("-12"), -12);
    EXPECT_EQ(StrToInt("+7"), 7);
    EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
    EXPECT_THROW(StrToInt("2147483648"), RuntimeError);
    EXPECT_THROW(StrToInt(""), RuntimeError);
    EXPECT_THROW(StrToInt("-"), RuntimeError);
    EXPECT_THROW(StrToInt("1 2"), RuntimeError);
    EXPECT_THROW(StrToInt("99999999999999999999"), RuntimeError);
}

TEST_F(SettingsTest, LongLineIsCutTo511BytesBeforeItIsSplit) {
    // The value's end falls beyond byte 511, so its last characters are lost.
    std::string value(520, 'x');
    resources.SetString(1013, "SoftSysName=" + value);
    Read();
    EXPECT_EQ(strings.SoftSysName.size(), 511u - 12u);
}

}  // namespace
}  // namespace setup
