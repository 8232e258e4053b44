#include "install/shortcuts.h"

#include <gtest/gtest.h>

#include "platform/error.h"
#include "support/install_fixture.h"

namespace setup {
namespace {

using testing::kAppData;
using testing::kDesktop;
using testing::kHkcu;
using testing::kPrograms;

constexpr char kGroup[] = "C:\\users\\me\\Start Menu\\Programs\\Tessik软件";
constexpr char kQuickLaunch[] =
    "C:\\users\\me\\AppData\\Microsoft\\Internet Explorer\\Quick Launch";

class Shortcuts : public ::testing::Test, protected testing::InstallFixture {
protected:
    // Link file path -> target, in the order written.
    std::vector<std::pair<std::string, std::string>> Written() const {
        std::vector<std::pair<std::string, std::string>> out;
        for (const auto& link : shell.Links()) out.emplace_back(link.path, link.properties.target);
        return out;
    }

    std::string Folder() const { return session.InstallDir + "\\"; }
};

TEST_F(Shortcuts, ProgramGroupIsCreatedWithItsThreeLinks) {
    CreateProgramGroup(session);
    EXPECT_TRUE(files.DirectoryExists(kGroup));
    EXPECT_EQ(
        Written(),
        (std::vector<std::pair<std::string, std::string>>{
            {std::string(kGroup) + "\\TessikOne软件商贸版.lnk", session.MainExePath},
            {std::string(kGroup) + "\\TessikOne商贸版服务器.lnk",
             Folder() + "TessikOne商贸版服务器.exe"},
            {std::string(kGroup) + "\\卸载TessikOne软件商贸版.lnk", session.UninstallerPath}}));
    ShellLinkProperties expected;
    expected.target = session.MainExePath;
    expected.working_directory = Folder();  // no description, arguments or icon
    EXPECT_EQ(shell.Links()[0].properties, expected);
}

TEST_F(Shortcuts, DesktopLinksCarryIconAndDescriptionAndTheFreeEditionTakesOver) {
    std::string free_edition = Folder() + "TessikOne商贸免费版.exe";
    files.AddFile(free_edition);
    CreateDesktopShortcuts(session);
    EXPECT_EQ(Written(), (std::vector<std::pair<std::string, std::string>>{
                             {std::string(kDesktop) + "\\TessikOne商贸版服务器.lnk",
                              Folder() + "TessikOne商贸版服务器.exe"},
                             {std::string(kDesktop) + "\\TessikOne商贸免费版.lnk", free_edition}}));
    const ShellLinkProperties& link = shell.Links()[1].properties;
    EXPECT_EQ(link.description, "TessikOne商贸免费版");
    EXPECT_EQ(link.icon_path, free_edition);
    EXPECT_EQ(link.icon_index, 0);
    EXPECT_EQ(link.working_directory, Folder());
    EXPECT_EQ(session.MainExePath, free_edition);

    files.AddDirectory(kQuickLaunch);
    CreateQuickLaunchShortcut(session);
    CreateProgramGroup(session);
    EXPECT_EQ(shell.Links()[2].path, std::string(kQuickLaunch) + "\\TessikOne软件商贸版.lnk");
    EXPECT_EQ(shell.Links()[2].properties.target, free_edition);
    EXPECT_EQ(shell.Links()[3].properties.target, free_edition);
}

TEST_F(Shortcuts, PresentMainAndTrialProgramsGetDesktopLinks) {
    files.AddFile(session.MainExePath);
    files.AddFile(Folder() + "TessikOne商贸试用版.exe");
    CreateDesktopShortcuts(session);
    ASSERT_EQ(shell.Links().size(), 3u);
    EXPECT_EQ(shell.Links()[0].path, std::string(kDesktop) + "\\TessikOne软件商贸版.lnk");
    EXPECT_EQ(shell.Links()[2].path, std::string(kDesktop) + "\\TessikOne商贸试用版.lnk");
    EXPECT_EQ(session.MainExePath, Folder() + "TessikOne商贸版.Exe");
}

TEST_F(Shortcuts, AMissingQuickLaunchFolderIsNotCreated) {
    CreateQuickLaunchShortcut(session);
    EXPECT_TRUE(shell.Links().empty());
    EXPECT_FALSE(files.DirectoryExists(kQuickLaunch));
}

TEST_F(Shortcuts, AnEmptyProductNameNamesLinksAfterTheirTargets) {
    strings.SoftSysName.clear();
    files.AddFile(session.MainExePath);
    files.AddDirectory(kQuickLaunch);
    CreateDesktopShortcuts(session);
    CreateQuickLaunchShortcut(session);
    CreateProgramGroup(session);
    EXPECT_EQ(shell.Links()[0].path, std::string(kDesktop) + "\\.lnk");
    EXPECT_EQ(shell.Links()[2].path, std::string(kQuickLaunch) + "\\TessikOne商贸版.Lnk");
    EXPECT_EQ(shell.Links()[3].path, std::string(kGroup) + "\\TessikOne商贸版.Lnk");
    EXPECT_EQ(shell.Links()[5].path, std::string(kGroup) + "\\卸载.lnk");
}

TEST_F(Shortcuts, MissingShellFolderValuesFallBackToTheShellsOwnFolders) {
    const char* key = kShellFoldersKey;
    registry.SetRawValue(kHkcu, key, "Programs", 1, "");
    registry.SetRawValue(kHkcu, key, "AppData", 1, "");
    shell.SetSpecialFolder(0x02, "E:\\Menu");
    shell.SetSpecialFolder(0x1A, "E:\\Roaming");
    files.AddDirectory("E:\\Roaming\\Microsoft\\Internet Explorer\\Quick Launch");
    CreateProgramGroup(session);
    CreateQuickLaunchShortcut(session);
    EXPECT_EQ(shell.Links()[0].path, "E:\\Menu\\Tessik软件\\TessikOne软件商贸版.lnk");
    EXPECT_EQ(shell.Links()[3].path,
              "E:\\Roaming\\Microsoft\\Internet Explorer\\Quick Launch\\TessikOne软件商贸版.lnk");
}

TEST_F(Shortcuts, AFolderNobodyKnowsMeansNoLinkNeverOneBelowTheDriveRoot) {
    MemoryRegistry empty;
    MemoryShell blind(files);
    files.AddDirectory("D:\\Tessik软件");  // where a link below the current drive root would go
    files.AddDirectory("D:\\Microsoft\\Internet Explorer\\Quick Launch");
    InstallSession bare{
        strings, {files, empty, blind, processes, dialogs, resources}, &window, &contents};
    bare.MainExePath = session.MainExePath;
    bare.UninstallerPath = session.UninstallerPath;
    CreateDesktopShortcuts(bare);
    CreateQuickLaunchShortcut(bare);
    CreateProgramGroup(bare);
    EXPECT_TRUE(blind.Links().empty());
    EXPECT_FALSE(GetFavoritesFolder(bare));
}

TEST_F(Shortcuts, ErrorsOfTheLinkObjectAndOfTheShellFoldersKeyLeaveTheTask) {
    registry.SetRawValue(kHkcu, kShellFoldersKey, "Programs", 4, "1");
    EXPECT_THROW(CreateProgramGroup(session), RuntimeError);
    EXPECT_TRUE(shell.Links().empty());

    shell.BreakLinkObject();
    EXPECT_THROW(CreateDesktopShortcuts(session), RuntimeError);
}

}  // namespace
}  // namespace setup
