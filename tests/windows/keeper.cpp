// Holds the Wine desktop process (explorer.exe) for a whole test session. The first program that
// uses the window manager starts explorer.exe, which inherits that program's stdio and outlives it;
// started from here, with quiet stdio, no test harness ever waits for it.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR command_line, int) {
    GetDesktopWindow();
    // The session script waits for this file: the desktop is up.
    if (command_line && *command_line) {
        HANDLE ready = CreateFileA(command_line, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (ready != INVALID_HANDLE_VALUE) CloseHandle(ready);
    }
    Sleep(INFINITE);
    return 0;
}
