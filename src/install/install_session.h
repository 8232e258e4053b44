// The state one installation works on: the product's names, the paths accepted on page 2, the
// platform it installs to and whoever watches it. The installation (installation.h) owns it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "data/settings.h"
#include "install/entry_contents.h"
#include "install/file_names.h"
#include "install/install_observer.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "platform/processes.h"
#include "platform/registry.h"
#include "platform/resources.h"
#include "platform/shell.h"

namespace setup {

struct InstallPlatform {
    FileSystem& files;
    Registry& registry;
    Shell& shell;
    Processes& processes;
    Dialogs& dialogs;
    const Resources& resources;
};

// The paths that accepting page 2 (or a folder switch) gives the installation.
struct InstallPaths {
    std::string InstallDir;       // never with a trailing backslash
    std::string MainExePath;      // InstallDir + "\" + MainExeName
    std::string UninstallerPath;  // InstallDir + "\" + UninstallName
};

struct InstallSession {
    const ProductStrings& strings;
    InstallPlatform platform;
    InstallObserver* observer;  // never null
    EntryContents* contents;    // never null

    std::string InstallDir = {};   // no trailing backslash
    std::string MainExePath = {};  // may be switched to the free edition by the desktop shortcuts
    std::string UninstallerPath = {};
    std::string BrowseDrive = {};  // first character: the drive the directory chooser opens on
    std::uint64_t InstalledBytes = 0;  // what the run has written, for the uninstall entry
    // Set for a run with no one to ask: a file that a program kept running holds is replaced at
    // the next restart, where the wizard reports it to the user who chose to keep the program.
    bool ReplaceHeldFilesAtRestart = false;
    std::vector<TaskFailure> TaskFailures = {};  // post-install tasks that failed, in order
};

// The main program's folder with its trailing backslash, as MainExePath stands now.
inline std::string ProgramFolder(const InstallSession& session) {
    return ExtractFilePath(session.MainExePath);
}

}  // namespace setup
