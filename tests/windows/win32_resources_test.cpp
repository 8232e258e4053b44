#include "platform/win32/win32_resources.h"

#include <gtest/gtest.h>

#include "data/file_list.h"
#include "data/settings.h"
#include "data/unpack.h"
#include "support/shipped_settings.h"

namespace setup {
namespace {

TEST(Win32Resources, ShippedSettingsReadBackByteExactInGbk) {
    Win32Resources resources;
    ASSERT_EQ(GetACP(), 936u) << "tests run with code page 936";
    for (unsigned i = 0; i < testing::kShippedSettings.size(); ++i)
        EXPECT_EQ(resources.LoadLine(kFirstSettingId + i), testing::kShippedSettings[i]) << i;

    const SetupSettings settings = ReadSetupSettings(resources);
    EXPECT_TRUE(settings.Parsed()) << settings.Problem();
    for (const auto& piece : settings.pieces) EXPECT_TRUE(piece);
    EXPECT_EQ(settings.strings.SvrExeName, "TessikOne商贸版服务器.exe");
}

TEST(Win32Resources, LinesAreCutAt511BytesWithoutSplittingACharacter) {
    Win32Resources resources;
    EXPECT_EQ(resources.LoadLine(1100), std::string(511, 'x'));
    std::string chinese = resources.LoadLine(1101);
    EXPECT_EQ(chinese.size(), 510u);
    EXPECT_EQ(chinese.substr(0, 2), "汉");
    EXPECT_EQ(resources.LoadLine(1999), "");
}

TEST(Win32Resources, FileListPositionMapsToItsResource) {
    Win32Resources resources;
    auto list = LoadFileList(resources);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[2], "data\\log\\third.log");
    auto bytes = UnpackNamedResource(resources, PayloadResourceType(2), PayloadResourceName(2));
    EXPECT_EQ(TextUpToNul(bytes), "第三个文件");
}

TEST(Win32Resources, NamesAndTypesIgnoreCase) {
    Win32Resources resources;
    EXPECT_TRUE(resources.Find("myres0001", "myfile0001"));
    EXPECT_TRUE(resources.Find("MYRES0001", "MyFile0001"));
    EXPECT_FALSE(resources.Find("Myres0001", "MyFile0002"));
}

}  // namespace
}  // namespace setup
