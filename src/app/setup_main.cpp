// The installer's program entry. It takes no command line: everything it installs and every
// setting travel in its own resources.
#include <windows.h>

#include "app/setup_app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return setup::app::RunSetup(); }
