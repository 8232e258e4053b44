#include "install/post_install_tasks.h"

#include "install/registry_records.h"
#include "install/shortcuts.h"

namespace setup {

namespace {

// The options are read at the moment their task runs.
constexpr PostInstallTask kTasks[] = {
    {"WriteVersionRecord", [](InstallSession& s, const InstallOptions&) { WriteVersionRecord(s); }},
    {"WriteSetupPath", [](InstallSession& s, const InstallOptions&) { WriteSetupPath(s); }},
    {"CreateDesktopShortcuts",
     [](InstallSession& s, const InstallOptions& o) {
         if (o.desktop_links) CreateDesktopShortcuts(s);
     }},
    {"CreateQuickLaunchShortcut",
     [](InstallSession& s, const InstallOptions& o) {
         if (o.quick_launch_link) CreateQuickLaunchShortcut(s);
     }},
    {"CreateProgramGroup", [](InstallSession& s, const InstallOptions&) { CreateProgramGroup(s); }},
    {"EnableAutostart",
     [](InstallSession& s, const InstallOptions& o) {
         if (o.autostart)
             EnableAutostart(s);
         else
             DisableAutostart(s);
     }},
    {"WriteUninstallEntry", [](InstallSession& s, const InstallOptions&) { WriteUninstallEntry(s); }},
    {"RegisterServers", [](InstallSession& s, const InstallOptions&) { RegisterServers(s); }},
};

}  // namespace

std::span<const PostInstallTask> PostInstallTasks() {
    return kTasks;
}

void RecordTaskFailure(InstallSession& session, std::string_view task, std::string_view code,
                       std::string_view text) {
    session.TaskFailures.push_back({std::string(task), std::string(code), std::string(text)});
    session.observer->TaskFailed(session.TaskFailures.back());
}

}  // namespace setup
