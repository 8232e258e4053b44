#include "install/target_path.h"

#include <gtest/gtest.h>

#include "platform/error.h"
#include "doubles/memory_file_system.h"

namespace setup {
namespace {

constexpr char kDir[] = "D:\\APP";

class TargetPath : public ::testing::Test {
protected:
    TargetPath() { files.AddDirectory(kDir); }
    MemoryFileSystem files;
};

TEST_F(TargetPath, CreatesTheFolderThenTheSubfolderAndReturnsTheFullPath) {
    EXPECT_EQ(MakeTargetPath(files, kDir, "data\\log\\a.log"), "D:\\APP\\data\\log\\a.log");
    EXPECT_EQ(files.CreatedDirectories(),
              (std::vector<std::string>{"D:\\APP\\data", "D:\\APP\\data\\log"}));

    // Existing folders are not created again; a single component creates nothing.
    EXPECT_EQ(MakeTargetPath(files, kDir, "data\\b.mdb"), "D:\\APP\\data\\b.mdb");
    EXPECT_EQ(MakeTargetPath(files, kDir, "readme.txt"), "D:\\APP\\readme.txt");
    EXPECT_EQ(files.CreatedDirectories().size(), 2u);
}

TEST_F(TargetPath, BlanksGoAtComponentEndsOnly) {
    EXPECT_EQ(MakeTargetPath(files, kDir, " Rep Center \t\\ 销售 单.rpt "),
              "D:\\APP\\Rep Center\\销售 单.rpt");
    EXPECT_EQ(files.CreatedDirectories(), std::vector<std::string>{"D:\\APP\\Rep Center"});
}

TEST_F(TargetPath, ASecondByteEqualToBackslashDoesNotSplit) {
    EXPECT_EQ(MakeTargetPath(files, kDir, "乗\\x.txt"), "D:\\APP\\乗\\x.txt");
    EXPECT_EQ(files.CreatedDirectories(), std::vector<std::string>{"D:\\APP\\乗"});
}

TEST_F(TargetPath, EntriesThatCouldLeaveTheDirectoryAreRefusedBeforeAnyCreate) {
    for (const char* entry :
         {"..\\evil.exe", "data\\..\\..\\evil.exe", " .. \\evil.exe", "...\\evil.exe", "data\\.\\x",
          "C:\\evil.exe", "C:evil.exe", "data\\x:stream", "\\windows\\evil.exe",
          "\\\\server\\share\\x", "data\\\\x", "data\\", "data\\ \\x", "a/../../evil.exe", ""}) {
        SCOPED_TRACE(entry);
        EXPECT_THROW(MakeTargetPath(files, kDir, entry), RuntimeError);
    }
    EXPECT_TRUE(files.CreatedDirectories().empty());
}

}  // namespace
}  // namespace setup
