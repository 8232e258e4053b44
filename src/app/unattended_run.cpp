#include "app/unattended_run.h"

#include <exception>

#include "install/folder_check.h"

namespace setup::app {

namespace {

void Note(InstallLog* log, const std::string& line) {
    if (log) log->Write(line);
}

}  // namespace

InstallOptions UnattendedOptions(const CommandLine& line) {
    return line.tasks.value_or(InstallOptions{});
}

ExitCode RunUnattended(Installation& installation, const CommandLine& line, InstallLog* log,
                       const std::function<void()>& between_entries) {
    const std::string folder = line.folder ? *line.folder : installation.ReadPreviousPath();
    const FolderCheckResult checked = CheckInstallFolder(
        installation.Platform().files, installation.Strings(), folder, installation.Footprint());
    if (!checked.accepted) {
        Note(log, "folder refused: " + folder + ": " + checked.Refusal());
        return checked.no_space ? ExitCode::DiskFull : ExitCode::FolderRefused;
    }
    Note(log, "folder: " + checked.accepted->InstallDir);
    installation.SetPaths(*checked.accepted);
    // No one is there to be asked: what a program kept running holds is replaced at restart.
    installation.Session().ReplaceHeldFilesAtRestart = true;
    installation.Start();
    try {
        while (installation.Step())
            if (between_entries) between_entries();
    } catch (const std::exception& e) {
        // A post-install task that failed ends the run there, as in the wizard.
        Note(log, std::string("error: ") + e.what());
    }
    return ExitCodeFor(installation.Summary());
}

}  // namespace setup::app
