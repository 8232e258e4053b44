// The installer program: the application title, the main window and then the directory chooser,
// and the message loop, which ends when the main window closes.
#pragma once

#include <windows.h>

namespace setup::app {

// Sees every message the loop dispatches and how long its handling took: for benchmarks.
class LoopProbe {
public:
    virtual ~LoopProbe() = default;
    virtual void Dispatched(const MSG& message, double milliseconds) = 0;
    virtual void Finished() = 0;
};

// Runs the installer and returns the program's exit code.
int RunSetup(LoopProbe* probe = nullptr);

}  // namespace setup::app
