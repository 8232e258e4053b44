// The folder check against the in-memory file system: what it resolves, counts, protects and
// refuses beyond page 2's own rules (those are pinned in path_check_test.cpp).
#include "install/folder_check.h"

#include <gtest/gtest.h>

#include "doubles/memory_file_system.h"

namespace setup {
namespace {

class FolderCheck : public ::testing::Test {
protected:
    FolderCheck() {
        files.AddDirectory("C:\\Program Files");
        files.AddDirectory("D:");
        strings.MainExeName = "main.exe";
        strings.UninstallName = "uninstall.exe";
    }
    FolderCheckResult Check(std::string_view typed, const PayloadFootprint& needed = {}) {
        return CheckInstallFolder(files, strings, typed, needed);
    }

    MemoryFileSystem files;
    ProductStrings strings;
};

// The folder the files go to, the one shown and the one recorded are the same: a dot that the
// system drops from a name, or "..", never reaches the records as typed.
TEST_F(FolderCheck, DotsTheSystemDropsAndDotDotAreResolvedBeforeAnythingIsMade) {
    FolderCheckResult checked = Check("D:\\cli_dot.\\App");
    ASSERT_TRUE(checked.accepted);
    EXPECT_EQ(checked.shown, "D:\\cli_dot\\App");
    EXPECT_EQ(checked.accepted->InstallDir, "D:\\cli_dot\\App");
    EXPECT_EQ(checked.accepted->MainExePath, "D:\\cli_dot\\App\\main.exe");
    EXPECT_EQ(checked.accepted->UninstallerPath, "D:\\cli_dot\\App\\uninstall.exe");
    EXPECT_EQ(files.CreatedDirectories(),
              (std::vector<std::string>{"D:\\cli_dot", "D:\\cli_dot\\App"}));

    checked = Check("D:\\A\\..\\B\\.\\C. . ");
    ASSERT_TRUE(checked.accepted);
    EXPECT_EQ(checked.accepted->InstallDir, "D:\\B\\C");
    EXPECT_FALSE(files.DirectoryExists("D:\\A"));
}

TEST_F(FolderCheck, ATextThatResolvesToADriveRootGetsTheFirstHint) {
    for (std::string_view typed : {"D:\\..", "D:\\A\\..\\..", "D:\\.", "D:\\..."}) {
        SCOPED_TRACE(typed);
        const FolderCheckResult checked = Check(typed);
        EXPECT_FALSE(checked.accepted);
        EXPECT_EQ(checked.hint, kHintNeedDrive);
    }
    EXPECT_TRUE(files.CreatedDirectories().empty());
}

// 1.37 MB free for a 1.32 MB payload was accepted, and files then failed for lack of space.
TEST_F(FolderCheck, FreeSpaceIsCountedInWholeClustersForEachFileAndFolder) {
    const PayloadFootprint needed{{1, 4097, 0, 8192}, 2};
    EXPECT_EQ(needed.OnVolume(0), 12290u);
    EXPECT_EQ(needed.OnVolume(4096), 4096u + 8192 + 0 + 8192 + 2 * 4096);

    files.SetClusterSize('D', 4096);
    files.SetFreeSpace('D', 28671);
    FolderCheckResult checked = Check("D:\\App", needed);
    EXPECT_FALSE(checked.accepted);
    EXPECT_EQ(checked.hint, NoSpaceHint(28672, 28671));
    EXPECT_TRUE(files.CreatedDirectories().empty());

    files.SetFreeSpace('D', 28672);
    EXPECT_TRUE(Check("D:\\App", needed).accepted);
}

// A read-only folder cost the user one error box per file before the failure page.
TEST_F(FolderCheck, AFolderThatTakesNoFilesIsRefusedWithItsHintBeforeAnyFile) {
    files.AddDirectory("D:\\Locked");
    files.RefuseFilesIn("D:\\Locked");
    const FolderCheckResult checked = Check("D:\\Locked\\");
    EXPECT_FALSE(checked.accepted);
    EXPECT_EQ(checked.hint, kHintCannotWrite);
    EXPECT_EQ(checked.shown, "D:\\Locked");
    EXPECT_TRUE(files.WrittenFiles().empty());
    EXPECT_TRUE(Check("D:\\Locked\\App").accepted) << "a folder made inside is not refused";
}

TEST_F(FolderCheck, EveryLevelMadeOutsideTheSystemFoldersIsProtected) {
    ASSERT_TRUE(Check("D:\\Tessik\\One").accepted);
    EXPECT_EQ(files.ProtectedDirectories(),
              (std::vector<std::string>{"D:\\Tessik", "D:\\Tessik\\One"}));

    // Inside the program folder, whatever the case, the folder inherits what that folder grants;
    // a folder whose name only begins like it does not.
    ASSERT_TRUE(Check("c:\\program files\\Tessik").accepted);
    ASSERT_TRUE(Check("C:\\Program Files Extra\\Tessik").accepted);
    EXPECT_EQ(files.CreatedDirectories().size(), 5u);
    EXPECT_EQ(files.ProtectedDirectories().size(), 4u);
    EXPECT_EQ(files.ProtectedDirectories()[2], "C:\\Program Files Extra");

    // A folder that exists keeps what it has.
    ASSERT_TRUE(Check("D:\\Tessik").accepted);
    EXPECT_EQ(files.CreatedDirectories().size(), 5u);
}

TEST(PayloadFolders, EachFolderOnceOutermostFirstAndNoneForARefusedEntry) {
    const std::vector<std::string> list = {
        "a.exe",       "data\\x.mdb", "data\\log\\y.log", "DATA\\z.ini", " Skin \\s.bmp",
        "..\\out.txt", "data\\..\\w", "C:\\abs.txt",      "\\lead.txt",  "Rep\\Sub.\\r.txt"};
    EXPECT_EQ(PayloadFolders(list), (std::vector<std::string>{"", "data", "data\\log", "Skin"}));
}

}  // namespace
}  // namespace setup
