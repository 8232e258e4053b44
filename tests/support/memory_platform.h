// A whole platform of in-memory doubles, for windows that need one but whose test is about
// something else.
#pragma once

#include "install/install_session.h"
#include "doubles/memory_dialogs.h"
#include "doubles/memory_file_system.h"
#include "doubles/memory_processes.h"
#include "doubles/memory_registry.h"
#include "doubles/memory_shell.h"

namespace setup::testing {

struct MemoryPlatform {
    MemoryFileSystem files;
    MemoryRegistry registry;
    MemoryShell shell{files};
    MemoryProcesses processes{&files};
    MemoryDialogs dialogs;

    // A machine with the system on C: and a second fixed disk D:.
    MemoryPlatform() {
        files.AddDirectory("C:\\windows\\system32");
        files.AddDirectory("D:");
        shell.SetSystemDirectory("C:\\windows\\system32");
    }

    InstallPlatform With(const Resources& resources) {
        return {files, registry, shell, processes, dialogs, resources};
    }
};

}  // namespace setup::testing
