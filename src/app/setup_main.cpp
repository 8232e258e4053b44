// The installer's program entry: everything it installs and every setting travel in its own
// resources; the command line only says how to run (see app/command_line.h).
#include <windows.h>

#include "app/command_line.h"
#include "app/setup_app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return setup::app::RunSetup(setup::app::ArgumentsOf(GetCommandLineA()));
}
