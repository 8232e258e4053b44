#include "install/shortcuts.h"

#include "install/file_names.h"

namespace setup {
namespace {

// The folder of a link location, from the Shell Folders value or, failing that, from the shell.
// A value that is not a string throws, as the key's reader does.
std::optional<std::string> LocationFolder(InstallSession& session, const RegistryKey* key,
                                          LinkLocation location) {
    bool group = location == LinkLocation::ProgramGroup;
    std::string base = key ? key->ReadString(group ? "Programs" : "AppData") : std::string();
    if (base.empty()) {
        auto shell_folder = GetSpecialFolder(session, group ? kFolderPrograms : kFolderAppData);
        if (!shell_folder) return std::nullopt;
        base = *shell_folder;
    }
    if (!group) return base + "\\Microsoft\\Internet Explorer\\Quick Launch";
    std::string folder = base + "\\" + session.strings.Company;
    if (!session.platform.files.DirectoryExists(folder))
        (void)session.platform.files.ForceDirectories(folder);  // the link's save then fails
    return folder;
}

}  // namespace

std::optional<std::string> GetSpecialFolder(InstallSession& session, int number) {
    return session.platform.shell.SpecialFolder(number, session.observer->Owner());
}

std::optional<std::string> GetFavoritesFolder(InstallSession& session) {
    return GetSpecialFolder(session, kFolderFavorites);
}

void CreateDesktopLink(InstallSession& session, const std::string& linkName,
                       const std::string& target) {
    Shell& shell = session.platform.shell;
    auto desktop = shell.SpecialFolder(kFolderDesktopDirectory, 0);
    if (!desktop) return;
    ShellLinkProperties link;
    link.target = target;
    link.working_directory = ExtractFilePath(target);
    link.description = linkName;
    link.icon_path = target;
    link.icon_index = 0;
    // A link the shell cannot save is not reported; the installation stands without it.
    (void)shell.WriteShellLink(link, *desktop + "\\" + linkName + ".lnk");
}

void CreateFolderLink(InstallSession& session, const std::string& target,
                      const std::string& description, const std::string& arguments,
                      const std::string& linkName, LinkLocation location) {
    ShellLinkProperties link;
    link.target = target;
    link.arguments = arguments;
    link.description = description;
    link.working_directory = ExtractFilePath(target);
    auto key =
        session.platform.registry.OpenKey(RegistryRoot::CurrentUser, kShellFoldersKey, false);
    auto folder = LocationFolder(session, key.get(), location);
    if (key) key->Close(false);
    if (!folder) return;
    std::string file_name =
        linkName.empty() ? ChangeFileExt(ExtractFileName(target), ".Lnk") : linkName + ".lnk";
    // As for the desktop links: a link that cannot be saved is no failure of the installation.
    (void)session.platform.shell.WriteShellLink(link, *folder + "\\" + file_name);
}

void CreateDesktopShortcuts(InstallSession& session) {
    const ProductStrings& strings = session.strings;
    FileSystem& files = session.platform.files;
    std::string folder = ProgramFolder(session);
    if (files.FileExists(session.MainExePath))
        CreateDesktopLink(session, strings.SoftSysName, session.MainExePath);
    CreateDesktopLink(session, strings.SoftSvrName, folder + strings.SvrExeName);
    std::string trial = folder + strings.SoftTrialExeName;
    if (files.FileExists(trial)) CreateDesktopLink(session, strings.SoftTrialName, trial);
    std::string free_edition = folder + strings.SoftForFreeExeName;
    if (files.FileExists(free_edition)) {
        CreateDesktopLink(session, strings.SoftForFreeName, free_edition);
        session.MainExePath = free_edition;
    }
}

void CreateQuickLaunchShortcut(InstallSession& session) {
    CreateFolderLink(session, session.MainExePath, "", "", session.strings.SoftSysName,
                     LinkLocation::QuickLaunch);
}

void CreateProgramGroup(InstallSession& session) {
    const ProductStrings& strings = session.strings;
    CreateFolderLink(session, session.MainExePath, "", "", strings.SoftSysName,
                     LinkLocation::ProgramGroup);
    CreateFolderLink(session, ProgramFolder(session) + strings.SvrExeName, "", "",
                     strings.SoftSvrName, LinkLocation::ProgramGroup);
    CreateFolderLink(session, session.UninstallerPath, "", "", "卸载" + strings.SoftSysName,
                     LinkLocation::ProgramGroup);
}

}  // namespace setup
