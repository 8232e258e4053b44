// An installation without the wizard, for deployment tools: the folder and the options come from
// the command line (or are what page 2 would show), every question is answered as the command
// line says, nothing waits for a person, and the run goes to its end at once.
#pragma once

#include <functional>
#include <string>

#include "app/command_line.h"
#include "install/exit_code.h"
#include "install/install_log.h"
#include "install/installation.h"
#include "platform/dialogs.h"

namespace setup::app {

// The answers of a run without a person: a running program is ended only with
// /CLOSEAPPLICATIONS; messages are for the log alone.
class UnattendedDialogs final : public Dialogs {
public:
    explicit UnattendedDialogs(bool close_applications) : close_(close_applications) {}
    bool AskWarning(std::string_view) override { return close_; }
    void ShowError(std::string_view) override {}
    void ShowPlain(std::string_view) override {}

private:
    bool close_;
};

// The options an unattended run installs with: /TASKS, else those page 2 starts with.
InstallOptions UnattendedOptions(const CommandLine& line);

// Checks the folder as page 2 does, then runs the installation to its end; between_entries is
// called after each entry (a progress window pumps its messages there). The installation's
// observer must already be set. Returns how it ended; log (may be null) hears why.
ExitCode RunUnattended(Installation& installation, const CommandLine& line, InstallLog* log,
                       const std::function<void()>& between_entries = {});

}  // namespace setup::app
