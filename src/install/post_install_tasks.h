// The post-install tasks: records, links, autostart, uninstall entry and the servers, as one
// table that the extraction run works through, one task per step, after the last entry. One rule
// for a failure: a task reports its own (its message box, as each always has) and the failure is
// recorded here, once, for the exit code and the log.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "install/install_observer.h"
#include "install/install_session.h"

namespace setup {

struct PostInstallTask {
    const char* name;  // the operation's own name, for the log
    void (*run)(InstallSession& session, const InstallOptions& options);
};

// In their fixed order: WriteVersionRecord, WriteSetupPath, CreateDesktopShortcuts,
// CreateQuickLaunchShortcut, CreateProgramGroup, EnableAutostart or DisableAutostart,
// WriteUninstallEntry, RegisterServers.
std::span<const PostInstallTask> PostInstallTasks();

// Records that part of a task failed: code is the one its message showed ("0x004"), or "" for an
// error that ended the run; text says why.
void RecordTaskFailure(InstallSession& session, std::string_view task, std::string_view code,
                       std::string_view text);

}  // namespace setup
