#include "app/unattended_run.h"

#include <exception>

#include "ui/path_check.h"

namespace setup::app {

namespace {

// Page 2's check without page 2: the folder as typed, and why it was refused.
class FolderCheck final : public PathCheckView {
public:
    explicit FolderCheck(std::string folder) : folder_(std::move(folder)) {}
    std::string EditDirText() const override { return folder_; }
    void SetEditDirText(const std::string& text) override { folder_ = text; }
    void ShowHint(const std::string& text) override { refusal_ = text; }
    void HideHint() override { refusal_.clear(); }
    void ShowMessage(const std::string& text) override { refusal_ = text; }
    const std::string& Refusal() const { return refusal_; }

private:
    std::string folder_;
    std::string refusal_;
};

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
    FolderCheck check(folder);
    const std::optional<InstallPaths> paths = ValidateInstallPath(
        check, installation.Platform().files, installation.Strings(), installation.PayloadBytes());
    if (!paths) {
        Note(log, "folder refused: " + folder + ": " + check.Refusal());
        return ExitCode::FolderRefused;
    }
    Note(log, "folder: " + paths->InstallDir);
    installation.SetPaths(*paths);
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
