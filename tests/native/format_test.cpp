// The agreement between setup-pack and the installer, from the shared side: what one encodes the
// other decodes, and the rules for target names hold the same for UTF-8 and GBK text.
#include <gtest/gtest.h>

#include "format/checksums.h"
#include "format/frame.h"
#include "format/resource_ids.h"
#include "format/settings_syntax.h"
#include "format/target_path.h"

namespace setup::format {
namespace {

TEST(Format, ChecksumsRoundTripAndDamagedTablesAreRefused) {
    const std::vector<ChecksumRecord> records = {{10, 0xDEADBEEF, 5}, {0, 0, 0}, {77, 1, 9000}};
    const std::string encoded = EncodeChecksums(records);
    auto bytes = [](const std::string& s) {
        return std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(s.data()),
                                             s.size());
    };
    EXPECT_EQ(DecodeChecksums(bytes(encoded)), records);
    EXPECT_FALSE(DecodeChecksums(bytes(encoded.substr(0, encoded.size() - 1))));
    EXPECT_FALSE(DecodeChecksums(bytes("TSUX" + encoded.substr(4))));
    EXPECT_EQ(ChecksumRecordCount(261), 263u);
    const std::string abc = "abc";
    EXPECT_EQ(Crc32(0, bytes(abc)), 0x352441C2u);  // the standard CRC-32 of "abc"
}

TEST(Format, FramesAnnounceTheirLengthAndNamesArePadded) {
    const std::string framed = FrameBytes("hello");
    const auto* data = reinterpret_cast<const std::uint8_t*>(framed.data());
    EXPECT_EQ(FrameLength({data, framed.size()}), 5u);
    EXPECT_EQ(framed.substr(4, 2), "\x78\xDA");  // a level-9 zlib stream
    EXPECT_FALSE(FrameLength({data, 3}));
    EXPECT_EQ(PayloadResourceName(7), "MyFile0007");
    EXPECT_EQ(PayloadResourceType(7999), "Myres7999");
    EXPECT_EQ(PayloadResourceName(12345), "MyFile12345");  // more than four digits: none cut
}

TEST(Format, RectanglesReadTheFourthFieldFirst) {
    EXPECT_EQ(std::get<PieceRect>(ParseRectValue(" 1, 2 ,3,4,junk")), (PieceRect{1, 2, 3, 4}));
    EXPECT_TRUE(std::get<RectFault>(ParseRectValue("1,2,3")).too_few_fields);
    EXPECT_EQ(std::get<RectFault>(ParseRectValue("x,2,3,y")).field, "y");
    EXPECT_EQ(SettingValue("BtnRect = 1,2,3,4 "), "1,2,3,4");
    EXPECT_FALSE(SettingValue("a=b=c"));
    EXPECT_FALSE(StrToInt("2147483648"));
    EXPECT_EQ(StrToInt("-2147483648"), -2147483648LL);
}

// "乗" is 0x81 0x5C in code page 936: a name made of such bytes is a name, not a path.
TEST(Format, TargetNamesFollowTheSameRulesInEitherEncoding) {
    for (const char* bad :
         {"", ".", "..", "a:b", "a/b", "a?b", "nul.txt", "COM1 .log", "a.", " a", "a\tb"})
        EXPECT_TRUE(TargetComponentProblem(bad)) << "'" << bad << "'";
    for (const char* good : {"销售单.rpt", "\x81\x5C", "x..y", ".hidden", "con_1.txt", "com10"})
        EXPECT_FALSE(TargetComponentProblem(good)) << good;
    EXPECT_TRUE(TargetPathStartProblem("C:\\x"));
    EXPECT_TRUE(TargetPathStartProblem("\\x"));
    EXPECT_FALSE(TargetPathStartProblem("data\\x"));
}

}  // namespace
}  // namespace setup::format
