// The installer's program entry: everything it installs and every setting travel in its own
// resources; the command line only says how to run (see app/command_line.h).
#include <windows.h>

#include "app/command_line.h"
#include "app/setup_app.h"
#include "platform/win32/system_library.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Before anything can load a DLL: none may come from the folder the installer was started in.
    setup::win32::RestrictDllSearchToSystem();
    return setup::app::RunSetup(setup::app::ArgumentsOf(GetCommandLineA()));
}
