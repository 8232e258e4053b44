// The process's exit code: how a run of the installer ended, the same for the wizard and for an
// unattended run, so that deployment tools can tell what happened.
#pragma once

#include "install/extraction_run.h"

namespace setup {

enum class ExitCode : int {
    Success = 0,         // every file installed and recorded
    Cancelled = 1,       // the user closed or cancelled the installer
    BadCommandLine = 2,  // an unknown or malformed switch
    Damaged = 3,         // the installer's own data failed its check; nothing was written
    FolderRefused = 4,   // the installation folder was refused; nothing was written
    Incomplete = 5,      // the run ended with files not installed
    LogNotWritten = 6,   // everything installed, but the log asked for could not be written
};

// The code for how the run stands when the program ends: a run that never started or was
// stopped is a cancel; one that ended says whether every entry is in place.
constexpr ExitCode ExitCodeFor(RunOutcome outcome) {
    switch (outcome) {
        case RunOutcome::Complete:
            return ExitCode::Success;
        case RunOutcome::Incomplete:
            return ExitCode::Incomplete;
        case RunOutcome::Running:
        case RunOutcome::Cancelled:
            break;
    }
    return ExitCode::Cancelled;
}

}  // namespace setup
