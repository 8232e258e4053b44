#include "ui/directory_chooser.h"

#include <gtest/gtest.h>

#include "doubles/memory_file_system.h"

namespace setup {
namespace {

class ScriptedView final : public DirectoryChooserView {
public:
    std::string AskFolderName() override { return answer; }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void Refresh() override { ++refreshes; }

    std::string answer;
    std::vector<std::string> messages;
    int refreshes = 0;
};

class DirectoryChooserTest : public ::testing::Test {
protected:
    DirectoryChooserTest() {
        folders.AddDirectory("C:\\Program Files\\Common");
        folders.AddDirectory("C:\\Windows");
        folders.AddDirectory("D:\\work\\pos");
        chooser.FormCreate();
    }
    int IndexOf(const std::string& name) {
        const auto& items = chooser.List().Items();
        for (std::size_t i = 0; i < items.size(); ++i)
            if (items[i].name == name) return static_cast<int>(i);
        return -1;
    }

    MemoryFileSystem folders;
    ScriptedView view;
    DirectoryChooser chooser{folders, view};
};

TEST_F(DirectoryChooserTest, ListShowsTheWayDownOpenAndTheFoldersInsideClosed) {
    ASSERT_TRUE(chooser.List().OpenItem(IndexOf("Program Files")));
    const auto& items = chooser.List().Items();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].name, "C:\\");
    EXPECT_TRUE(items[1].open);
    EXPECT_EQ(items[2].name, "Common");
    EXPECT_EQ(items[2].level, 2);
    EXPECT_FALSE(items[2].open);
    EXPECT_EQ(chooser.List().PathOfItem(0), "C:\\");
    EXPECT_EQ(chooser.List().PathOfItem(2), "C:\\Program Files\\Common");
    EXPECT_EQ(chooser.SelectedDir(), "C:\\Program Files");

    ASSERT_TRUE(chooser.List().OpenItem(0));  // back up to the root
    EXPECT_EQ(chooser.SelectedDir(), "C:\\");
}

// A new chooser hands back "C:\" until the user makes a real change: on drive C the list only
// shows where the process is; from another drive, setting drive C is a change and is reported.
TEST(DirectoryChooserCreation, SelectedDirStaysTheRootUntilARealChange) {
    MemoryFileSystem folders;
    folders.AddDirectory("C:\\Windows");
    folders.AddDirectory("D:\\work");
    ScriptedView view;
    ASSERT_TRUE(folders.ChangeDirectory("C:\\Windows"));
    DirectoryChooser on_c(folders, view);
    on_c.FormCreate();
    EXPECT_EQ(on_c.List().Directory(), "C:\\Windows");
    EXPECT_EQ(on_c.SelectedDir(), "C:\\");
    on_c.SetDrive('c');
    EXPECT_EQ(on_c.SelectedDir(), "C:\\");

    ASSERT_TRUE(folders.ChangeDirectory("D:\\work"));
    DirectoryChooser on_d(folders, view);
    on_d.FormCreate();
    EXPECT_EQ(on_d.Drive(), 'C');
    EXPECT_EQ(on_d.SelectedDir(), "C:\\Windows");
}

TEST_F(DirectoryChooserTest, EachDriveKeepsItsCurrentDirectory) {
    chooser.SetDrive('d');
    EXPECT_EQ(chooser.SelectedDir(), "D:\\");
    chooser.List().OpenItem(IndexOf("work"));
    chooser.SetDrive('C');
    EXPECT_EQ(chooser.SelectedDir(), "C:\\");
    chooser.SetDrive('D');
    EXPECT_EQ(chooser.SelectedDir(), "D:\\work");
    EXPECT_EQ(chooser.Drive(), 'D');
}

TEST_F(DirectoryChooserTest, SameDriveInOtherCaseChangesNothing) {
    chooser.List().OpenItem(IndexOf("Windows"));
    chooser.SetDrive('c');
    EXPECT_EQ(chooser.SelectedDir(), "C:\\Windows");
}

TEST_F(DirectoryChooserTest, MissingDriveLeavesTheListWhereItWas) {
    chooser.SetDrive('Q');
    EXPECT_EQ(chooser.Drive(), 'C');
    EXPECT_EQ(chooser.SelectedDir(), "C:\\");
}

TEST_F(DirectoryChooserTest, NewFolderIsCreatedAsTypedAndOpened) {
    chooser.List().OpenItem(IndexOf("Program Files"));
    view.answer = " 新 目录";
    chooser.NewFolder();
    EXPECT_TRUE(folders.DirectoryExists("C:\\Program Files\\ 新 目录"));
    EXPECT_EQ(chooser.SelectedDir(), "C:\\Program Files\\ 新 目录");
    chooser.Confirm();
    EXPECT_EQ(chooser.SelectedDir(), "C:\\Program Files\\ 新 目录");

    view.answer = "  \t";
    chooser.NewFolder();
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(DirectoryChooserTest, ExistingFolderIsReportedAndNothingMoves) {
    view.answer = "windows";
    chooser.NewFolder();
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0], "该文件夹已经存在！");
    EXPECT_EQ(chooser.SelectedDir(), "C:\\");
}

TEST_F(DirectoryChooserTest, FolderThatCannotBeCreatedLeavesTheList) {
    folders.Refuse("C:\\bad");
    view.answer = "bad";
    chooser.NewFolder();
    EXPECT_EQ(chooser.SelectedDir(), "C:\\");
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(DirectoryChooserTest, NameEndingInABackslashTrailByteIsNotASeparator) {
    const std::string name = "\xB1\xED\xAF\x5C";  // two characters, the last one's second byte 0x5C
    view.answer = name;
    chooser.NewFolder();
    view.answer = "sub";
    chooser.NewFolder();
    EXPECT_EQ(chooser.SelectedDir(), "C:\\" + name + "\\sub");
}

}  // namespace
}  // namespace setup
