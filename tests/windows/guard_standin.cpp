// A program that stands in for a guarded program of the payload: it opens one window titled with
// its own file name without extension (as the real programs do) and runs until it is ended.
#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/text.h"

static LRESULT CALLBACK StandInProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string name = path;
    name.erase(0, setup::text::FindLastChar(name, '\\') + 1);
    name.erase(std::min(name.size(), setup::text::FindLastChar(name, '.')));

    WNDCLASSA window_class = {};
    window_class.lpfnWndProc = StandInProc;
    window_class.hInstance = instance;
    window_class.lpszClassName = "GuardStandIn";
    RegisterClassA(&window_class);
    CreateWindowA("GuardStandIn", name.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 240, 90,
                  nullptr, nullptr, instance, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
