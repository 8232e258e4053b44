// Links written through the real shell link object and loaded back through IShellLinkA.
#include <gtest/gtest.h>

#include "install/shortcuts.h"
#include "platform/win32/handles.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell.h"
#include "support/install_fixture.h"
#include "windows/real_install_session.h"
#include "windows/scratch.h"

namespace setup {
namespace {

using testing::Pid;

class Win32Shortcuts : public ::testing::Test, protected testing::RealInstallSession {
protected:
    Win32Shortcuts() {
        strings.Company = "SetupTest" + Pid();
        strings.SoftSysName = "测试软件" + Pid();
        strings.SoftSvrName = "测试服务器" + Pid();
        strings.SvrExeName = "server.exe";
        strings.SoftTrialExeName = "trial.exe";
        strings.SoftForFreeExeName = "free.exe";
        dir = testing::ScratchFolder("links");
        session.InstallDir = dir;
        session.MainExePath = dir + "\\主程序.exe";
        session.UninstallerPath = dir + "\\uninstall.exe";
        testing::TouchFile(session.MainExePath);
    }

    ~Win32Shortcuts() override {
        for (const std::string& path : written) DeleteFileA(path.c_str());
        for (auto it = folders.rbegin(); it != folders.rend(); ++it) RemoveDirectoryA(it->c_str());
        DeleteFileA(session.MainExePath.c_str());
        RemoveDirectoryA(dir.c_str());
    }

    std::string Folder(int csidl) {
        auto folder = shell.SpecialFolder(csidl, 0);
        EXPECT_TRUE(folder) << csidl;
        return folder.value_or("");
    }

    // Loads a link back and remembers it for clean-up.
    std::optional<ShellLinkProperties> Load(const std::string& path) {
        written.push_back(path);
        return ReadShellLink(path);
    }

    std::string dir;
    std::vector<std::string> written, folders;
};

TEST_F(Win32Shortcuts, DesktopLinksCarryTargetFolderDescriptionAndIcon) {
    CreateDesktopShortcuts(session);
    std::string desktop = Folder(0x10);
    auto main = Load(desktop + "\\" + strings.SoftSysName + ".lnk");
    ASSERT_TRUE(main);
    EXPECT_EQ(main->target, session.MainExePath);
    EXPECT_EQ(main->working_directory, dir + "\\");
    EXPECT_EQ(main->description, strings.SoftSysName);
    EXPECT_EQ(main->icon_path, session.MainExePath);
    EXPECT_EQ(main->icon_index, 0);

    // The server's link is written although its program is missing.
    auto server = Load(desktop + "\\" + strings.SoftSvrName + ".lnk");
    ASSERT_TRUE(server);
    EXPECT_EQ(server->target, dir + "\\server.exe");
}

TEST_F(Win32Shortcuts, TheProgramGroupIsCreatedWithItsThreeLinks) {
    std::string group = Folder(0x02) + "\\" + strings.Company;
    folders.push_back(group);
    CreateProgramGroup(session);
    auto main = Load(group + "\\" + strings.SoftSysName + ".lnk");
    auto server = Load(group + "\\" + strings.SoftSvrName + ".lnk");
    auto uninstall = Load(group + "\\卸载" + strings.SoftSysName + ".lnk");
    ASSERT_TRUE(main && server && uninstall);
    EXPECT_EQ(main->target, session.MainExePath);
    EXPECT_EQ(main->working_directory, dir + "\\");
    EXPECT_EQ(main->description, "");
    EXPECT_EQ(main->arguments, "");
    EXPECT_EQ(server->target, dir + "\\server.exe");
    EXPECT_EQ(uninstall->target, session.UninstallerPath);
}

TEST_F(Win32Shortcuts, QuickLaunchGetsALinkOnlyWhenItsFolderExists) {
    std::string ie = Folder(0x1A) + "\\Microsoft\\Internet Explorer";
    std::string quick_launch = ie + "\\Quick Launch";
    std::string link = quick_launch + "\\" + strings.SoftSysName + ".lnk";
    if (GetFileAttributesA(quick_launch.c_str()) == INVALID_FILE_ATTRIBUTES) {
        CreateQuickLaunchShortcut(session);
        EXPECT_EQ(GetFileAttributesA(quick_launch.c_str()), INVALID_FILE_ATTRIBUTES);
        if (GetFileAttributesA(ie.c_str()) == INVALID_FILE_ATTRIBUTES) folders.push_back(ie);
        folders.push_back(quick_launch);
        ASSERT_TRUE(files.ForceDirectories(quick_launch));
    }
    CreateQuickLaunchShortcut(session);
    auto loaded = Load(link);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->target, session.MainExePath);
}

}  // namespace
}  // namespace setup
