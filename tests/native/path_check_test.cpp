#include "ui/path_check.h"

#include <gtest/gtest.h>

#include "doubles/memory_file_system.h"

namespace setup {
namespace {

// "乗" is 0x81 0x5C and "億" 0x83 0x7C in code page 936: second bytes equal to "\" and "|".
constexpr char kTrailBackslash[] = "乗";
constexpr char kTrailBar[] = "億";

class FakeView final : public PathCheckView {
public:
    std::string edit;
    std::string hint;
    bool hint_visible = false;
    std::vector<std::string> messages;

    std::string EditDirText() const override { return edit; }
    void SetEditDirText(const std::string& text) override { edit = text; }
    void ShowHint(const std::string& text) override {
        hint = text;
        hint_visible = true;
    }
    void HideHint() override { hint_visible = false; }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
};

class PathCheck : public ::testing::Test {
protected:
    PathCheck() {
        files.AddDirectory("C:");
        files.AddDirectory("D:");
        strings.MainExeName = "TessikOne商贸版.Exe";
        strings.UninstallName = "uninstall.exe";
    }

    std::optional<InstallPaths> Check(std::string typed) {
        view.edit = std::move(typed);
        return ValidateInstallPath(view, files, strings);
    }

    MemoryFileSystem files;
    ProductStrings strings;
    FakeView view;
};

TEST_F(PathCheck, TextsWithoutDriveFormGetTheFirstHintAndCreateNothing) {
    for (std::string typed : {"", "C:\\", "C:", "C:\\\\\\", "1:\\A", " C:\\A", "\\\\server\\share",
                              "\\\\\\", "CA:\\", "C:A\\B"}) {
        SCOPED_TRACE(typed);
        view = FakeView();
        EXPECT_FALSE(Check(typed));
        EXPECT_TRUE(view.hint_visible);
        EXPECT_EQ(view.hint, kHintNeedDrive);
        EXPECT_EQ(view.edit, typed) << "EditDir keeps what the user typed";
    }
    EXPECT_TRUE(files.CreatedDirectories().empty());
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(PathCheck, RunsOfBackslashesCollapseAndTheTrailingOneGoes) {
    auto paths = Check("c:\\program files\\\\\\app\\\\");
    ASSERT_TRUE(paths);
    EXPECT_EQ(view.edit, "c:\\program files\\app");
    EXPECT_FALSE(view.hint_visible);
    EXPECT_EQ(paths->InstallDir, "c:\\program files\\app");
    EXPECT_EQ(paths->MainExePath, "c:\\program files\\app\\TessikOne商贸版.Exe");
    EXPECT_EQ(paths->UninstallerPath, "c:\\program files\\app\\uninstall.exe");
}

TEST_F(PathCheck, ForbiddenCharactersGetTheSecondHintAfterNormalising) {
    for (char c : std::string_view("/*?\"<>|")) {
        std::string typed = "C:\\\\A";
        typed += c;
        typed += "B\\";
        SCOPED_TRACE(typed);
        EXPECT_FALSE(Check(typed));
        EXPECT_TRUE(view.hint_visible);
        EXPECT_EQ(view.hint, kHintForbiddenChar);
        EXPECT_EQ(view.edit, "C:\\A" + std::string(1, c) + "B");
    }
    EXPECT_TRUE(files.CreatedDirectories().empty());
}

// The hint lists the colon, and a colon after the drive is refused with it, not left to end in
// a misleading "the directory does not exist".
TEST_F(PathCheck, AColonAfterTheDriveGetsTheCharacterHint) {
    EXPECT_EQ(std::string(kHintForbiddenChar).substr(std::string(kHintForbiddenChar).find('\n')),
              "\n/ : * ? \" < > |");
    EXPECT_FALSE(Check("C:\\A:B"));
    EXPECT_TRUE(view.hint_visible);
    EXPECT_EQ(view.hint, kHintForbiddenChar);
    EXPECT_TRUE(view.messages.empty());
    EXPECT_TRUE(files.CreatedDirectories().empty());
}

TEST_F(PathCheck, ADriveWithoutRoomForThePayloadIsRefusedBeforeAnythingIsMade) {
    files.SetFreeSpace('D', 300 * 1024 * 1024);
    view.edit = "D:\\new\\app";
    EXPECT_FALSE(ValidateInstallPath(view, files, strings, {{400ull * 1024 * 1024}}));
    EXPECT_TRUE(view.hint_visible);
    EXPECT_EQ(view.hint, "磁盘空间不足！安装需要 400.0 MB，\r\n该磁盘只有 300.0 MB 可用。");
    EXPECT_TRUE(files.CreatedDirectories().empty());

    EXPECT_TRUE(ValidateInstallPath(view, files, strings, {{300ull * 1024 * 1024}}));
    EXPECT_FALSE(view.hint_visible);
}

TEST_F(PathCheck, MissingLevelsAreCreatedOutermostFirst) {
    ASSERT_TRUE(Check("D:\\A\\B\\C"));
    EXPECT_EQ(files.CreatedDirectories(),
              (std::vector<std::string>{"D:\\A", "D:\\A\\B", "D:\\A\\B\\C"}));
}

TEST_F(PathCheck, AnExistingDirectoryIsAcceptedWithoutCreating) {
    files.AddDirectory("D:\\Tessik软件\\TessikOne软件商贸版");
    auto paths = Check("D:\\Tessik软件\\TessikOne软件商贸版");
    ASSERT_TRUE(paths);
    EXPECT_EQ(paths->InstallDir, "D:\\Tessik软件\\TessikOne软件商贸版");
    EXPECT_TRUE(files.CreatedDirectories().empty());
}

TEST_F(PathCheck, AMissingDriveEndsWithTheMessageAndKeepsEarlierOutputs) {
    EXPECT_FALSE(Check("Q:\\APP\\X"));
    EXPECT_EQ(view.messages, std::vector<std::string>{"该目录不存在！"});
    EXPECT_EQ(view.edit, "Q:\\APP\\X");
    EXPECT_FALSE(view.hint_visible);
}

TEST_F(PathCheck, SecondBytesOfDoubleByteCharactersAreNeitherBackslashNorBar) {
    // A backslash after the character is a separator of its own, not part of a run.
    std::string name = std::string("A") + kTrailBackslash;
    auto paths = Check("D:\\" + name + "\\B\\");
    ASSERT_TRUE(paths);
    EXPECT_EQ(paths->InstallDir, "D:\\" + name + "\\B");
    EXPECT_EQ(files.CreatedDirectories(),
              (std::vector<std::string>{"D:\\" + name, "D:\\" + name + "\\B"}));

    // At the very end the character is kept whole.
    ASSERT_TRUE(Check(std::string("D:\\") + kTrailBackslash));
    EXPECT_EQ(view.edit, std::string("D:\\") + kTrailBackslash);

    ASSERT_TRUE(Check(std::string("D:\\") + kTrailBar));
    EXPECT_FALSE(view.hint_visible);
}

TEST(SplitText, KeepsEmptyItemsAndSplitsByCharacters) {
    std::vector<std::string> list = {"old"};
    SplitText("a\\\\b\\", '\\', &list);
    EXPECT_EQ(list, (std::vector<std::string>{"a", "", "b", ""}));

    SplitText(" \t\r\n", '\\', &list);
    EXPECT_TRUE(list.empty());

    SplitText(" no separator ", '\\', &list);
    EXPECT_EQ(list, std::vector<std::string>{" no separator "});

    SplitText(std::string("x") + kTrailBackslash + "\\y", '\\', &list);
    EXPECT_EQ(list, (std::vector<std::string>{std::string("x") + kTrailBackslash, "y"}));

    EXPECT_NO_THROW(SplitText("a\\b", '\\', nullptr));  // no list: nothing happens
}

}  // namespace
}  // namespace setup
