// The shortcuts of an installation: links on the desktop, in Quick Launch and in the program
// group with the uninstall link; and the shell folders they go to.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "install/install_session.h"

namespace setup {

enum class LinkLocation { ProgramGroup, QuickLaunch };

inline constexpr char kShellFoldersKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// The path of a shell special folder by its CSIDL number, looked up with the main window as
// owner; nothing when the shell cannot give one.
std::optional<std::string> GetSpecialFolder(InstallSession& session, int number);
std::optional<std::string> GetFavoritesFolder(InstallSession& session);

// desktop \ linkName.lnk -> target, with target's icon and linkName as description. Written
// only when the desktop folder can be found.
void CreateDesktopLink(InstallSession& session, const std::string& linkName,
                       const std::string& target);

// A link in the program group (created with its parents when missing) or in Quick Launch (never
// created: without that folder there is no link). The folder comes from the user's Shell Folders
// key; when that value is missing or empty, from the shell itself; when neither knows it, no
// link is written. An empty linkName names the link after target with the extension ".Lnk".
void CreateFolderLink(InstallSession& session, const std::string& target,
                      const std::string& description, const std::string& arguments,
                      const std::string& linkName, LinkLocation location);

// Desktop links of the main program (if present), the server, the trial and the free edition
// (if present); the free edition, when present, becomes MainExePath.
void CreateDesktopShortcuts(InstallSession& session);
void CreateQuickLaunchShortcut(InstallSession& session);
// The main program, the server and the uninstaller, in the program group.
void CreateProgramGroup(InstallSession& session);

}  // namespace setup
