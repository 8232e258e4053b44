// The version resource's numbers and its settings: what Explorer shows must come from the
// product's own texts, whatever a vendor writes as its version.
#include <gtest/gtest.h>

#include "version_resource.h"

namespace pack {
namespace {

std::vector<unsigned> Parts(const std::string& text) {
    const VersionNumber v = ParseVersionNumber(text);
    return {v.part[0], v.part[1], v.part[2], v.part[3]};
}

TEST(VersionResource, TheBinaryVersionIsTheTextsLeadingNumbers) {
    using P = std::vector<unsigned>;
    EXPECT_EQ(Parts("6.0.2"), (P{6, 0, 2, 0}));
    EXPECT_EQ(Parts("6.0.2 正式版"), (P{6, 0, 2, 0}));
    EXPECT_EQ(Parts("1.2.3.4.5"), (P{1, 2, 3, 4}));
    EXPECT_EQ(Parts("2017"), (P{2017, 0, 0, 0}));
    EXPECT_EQ(Parts("7.65536"), (P{7, 0, 0, 0}));  // a part beyond 16 bits ends the number
    EXPECT_EQ(Parts("V6"), (P{0, 0, 0, 0}));
    EXPECT_EQ(Parts(""), (P{0, 0, 0, 0}));
}

TEST(VersionResource, TextsComeFromTheirSettingIdsAndTheBlockHoldsThem) {
    std::vector<std::string> lines(11, "Rect=0,0,1,1");
    lines.push_back("Company=Tessik软件");
    lines.push_back("SoftSysName=TessikOne");
    lines.push_back("MainExeName=a.exe");
    lines.push_back("UninstallName=u.exe");
    lines.push_back("SoftYear=2017");
    lines.push_back("SoftVersion=not=one value");  // not one key and one value: ""
    const VersionTexts texts = VersionTextsFromSettings(lines, "Setup.exe");
    EXPECT_EQ(texts.company, "Tessik软件");
    EXPECT_EQ(texts.product, "TessikOne");
    EXPECT_EQ(texts.year, "2017");
    EXPECT_EQ(texts.version, "");
    EXPECT_EQ(texts.file_name, "Setup.exe");

    const std::optional<std::string> block = VersionResource(texts);
    ASSERT_TRUE(block);
    EXPECT_EQ(static_cast<unsigned char>((*block)[0]) | static_cast<unsigned char>((*block)[1]) << 8,
              block->size());
    const std::u16string company = u"Tessik软件";
    EXPECT_NE(block->find(std::string(reinterpret_cast<const char*>(company.data()),
                                      company.size() * 2)),
              std::string::npos);
    EXPECT_FALSE(VersionResource({"\xFF", "", "", "", ""}));
}

}  // namespace
}  // namespace pack
