#include "data/file_list.h"

#include <gtest/gtest.h>

#include "doubles/memory_resources.h"

namespace setup {
namespace {

TEST(FileList, PositionNotIdNamesTheResource) {
    MemoryResources resources;
    resources.SetString(2000, "a.exe");
    resources.SetString(2001, "data*log*x.log");
    resources.SetString(2003, "Skin*b.png");
    auto list = LoadFileList(resources);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[1], "data\\log\\x.log");
    EXPECT_EQ(list[2], "Skin\\b.png");
    EXPECT_EQ(PayloadResourceType(2), "Myres0002");
    EXPECT_EQ(PayloadResourceName(2), "MyFile0002");
}

TEST(FileList, BlankLinesAreSkippedBlanksAroundEntriesKept) {
    MemoryResources resources;
    resources.SetString(2000, " \t ");
    resources.SetString(2001, " readme.txt ");
    resources.SetString(9999, "last.txt");
    auto list = LoadFileList(resources);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0], " readme.txt ");
    EXPECT_EQ(list[1], "last.txt");
}

TEST(FileList, IdsBeyond9999AreNotRead) {
    MemoryResources resources;
    resources.SetString(1999, "settings");
    resources.SetString(10000, "beyond");
    EXPECT_TRUE(LoadFileList(resources).empty());
}

}  // namespace
}  // namespace setup
