// The installation's registry records, all under HKEY_LOCAL_MACHINE: the product's own key with
// its version and path, the autostart value, the uninstall entry; and the look-up of the previous
// installation's path. Each task reports its own failure with RegistryErrorMessage and returns
// normally, so the tasks after it still run.
#pragma once

#include <string>
#include <string_view>

#include "install/install_session.h"

namespace setup {

// The Run key is spelled with a capital S: the registry ignores case, so it is the platform's own.
inline constexpr char kRunKey[] = "SOFTWARE\\MicroSoft\\Windows\\CurrentVersion\\Run";
inline constexpr char kUninstallKeyBase[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// The maker's web site: named by the favourites check box, linked from the uninstall entry.
inline constexpr char kMakerWebHost[] = "www.tessik.com.cn";

// "SOFTWARE\QRVK" immediately followed by SoftYear.
std::string ProductKey(const ProductStrings& strings);

// Company, the task's fixed text and its code ("0x001" to "0x005").
std::string RegistryErrorMessage(const ProductStrings& strings, std::string_view code);

// Starts a program through the shell as the installer starts every program: verb "open",
// parameters "False", no working directory, normal window, the main window as owner.
void StartProgram(InstallSession& session, const std::string& path);

void WriteVersionRecord(InstallSession& session);  // "BWQRVK" = SoftVersion       (0x004)
void WriteSetupPath(InstallSession& session);      // "SETUPPATH" = InstallDir     (0x005)
// The autostart value (named Company) under the Run key, only if that key exists   (0x001).
// A path with a blank is stored in quotes, so the system starts that program and no other.
void WriteRunValue(InstallSession& session, const std::string& path);
void EnableAutostart(InstallSession& session);
void DisableAutostart(InstallSession& session);     //                              (0x002)
// DisplayName and UninstallString, then what Programs and Features and inventory tools show:
// version, publisher, folder, icon, size, date, web site, and no Change or Repair (0x003).
void WriteUninstallEntry(InstallSession& session);
void RegisterAndStart(InstallSession& session, const std::string& path);
void RegisterServers(InstallSession& session);

// The directory for EditDir: the recorded "SETUPPATH", or "D:\" + Company + "\" + SoftSysName on
// a first installation (on the system's drive when D: is no fixed disk). Sets BrowseDrive.
// Never reports anything.
std::string ReadPreviousPath(InstallSession& session);

}  // namespace setup
