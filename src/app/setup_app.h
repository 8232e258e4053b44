// The installer program: its command line, the check of its own data, and then either the wizard
// (the main window, the directory chooser and the message loop, which ends when the main window
// closes) or an unattended run; the exit code says how it ended.
#pragma once

#include <windows.h>

#include <string_view>

namespace setup {
class Installation;
}

namespace setup::app {

// Sees every message the loop dispatches and how long its handling took: for benchmarks.
class LoopProbe {
public:
    virtual ~LoopProbe() = default;
    // The wizard's installation, before the window shows.
    virtual void Watch(const Installation&) {}
    virtual void Dispatched(const MSG& message, double milliseconds) = 0;
    virtual void Finished() = 0;
};

// Runs the installer with the arguments of its command line and returns its exit code.
int RunSetup(std::string_view arguments, LoopProbe* probe = nullptr);

}  // namespace setup::app
