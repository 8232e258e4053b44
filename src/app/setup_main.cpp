// The installer's program entry: everything it installs and every setting travel in its own
// resources; the command line only says how to run (see app/command_line.h).
#include <windows.h>

#include <string>

#include "app/command_line.h"
#include "app/setup_app.h"
#include "platform/win32/system_library.h"

namespace {

// The running program's file, in the code page of GetCommandLineA; "" when it does not fit (the
// program is not long-path aware), which leaves the command line to its first word.
std::string ModuleFileName() {
    char path[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    return length > 0 && length < sizeof path ? std::string(path, length) : std::string();
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Before anything can load a DLL: none may come from the folder the installer was started in.
    setup::win32::RestrictDllSearchToSystem();
    const std::string module = ModuleFileName();
    return setup::app::RunSetup(setup::app::ArgumentsOf(GetCommandLineA(), module));
}
