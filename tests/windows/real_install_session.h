// An installation session on the real file system, registry and shell, with recording doubles for
// what a test does not look at (processes, dialogs, resources, the window).
#pragma once

#include "install/install_session.h"
#include "platform/win32/handles.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell.h"
#include "support/install_fixture.h"

namespace setup::testing {

struct RealInstallSession {
    win32::ComApartment apartment;  // the shell link object needs it
    Win32FileSystem files;
    Win32Registry registry;
    Win32Shell shell;
    MemoryProcesses processes;
    MemoryDialogs dialogs;
    MemoryResources resources;
    ProductStrings strings;
    RecordingObserver window;
    DirectContents contents{resources};
    InstallSession session{
        strings, {files, registry, shell, processes, dialogs, resources}, &window, &contents};
};

}  // namespace setup::testing
