// Stands in for the product's programs in the demo payload (the main program, the servers and the
// uninstaller are all copies of it). It appends "file name<TAB>command line<TAB>creation time" to started.log in its
// own folder, then shows a window titled with its file name without extension, as the installer's
// running-program check expects, until the window is closed. Tests read the log to see that it
// ran, with which parameters and in which order. Started with "--hold PATH" it first loads the
// library at PATH and keeps it loaded, as the product's programs keep their own libraries.
#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/text.h"
#include "platform/win32/handles.h"

namespace {

constexpr char kClassName[] = "TessikStandIn";

std::string ModulePath() {
    char path[MAX_PATH * 2];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    return std::string(path, length < sizeof path ? length : 0);
}

// Another copy may be writing at the same moment: the log is opened without write sharing, so each
// line goes in whole, and a start that finds it busy waits its turn instead of losing its line.
bool AppendLine(const std::string& log, const std::string& line) {
    for (int attempt = 0; attempt < 500; ++attempt) {
        setup::win32::UniqueHandle file(CreateFileA(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ,
                                                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                                    nullptr));
        if (file) {
            DWORD written = 0;
            return WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written,
                             nullptr) &&
                   written == line.size();
        }
        if (GetLastError() != ERROR_SHARING_VIOLATION) return false;
        Sleep(10);
    }
    return false;
}

// The moment the process was created, as 16 hexadecimal digits of its FILETIME: programs started
// one after another log in any order, but their creation times keep the order of the starts.
std::string CreationTime() {
    FILETIME created{}, exited{}, kernel{}, user{};
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    char text[17];
    std::snprintf(text, sizeof text, "%08lX%08lX", static_cast<unsigned long>(created.dwHighDateTime),
                  static_cast<unsigned long>(created.dwLowDateTime));
    return text;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_line, int show) {
    const std::string path = ModulePath();
    // The name may hold GBK characters whose second byte is 0x5C: split by characters.
    const std::size_t slash = setup::text::FindLastChar(path, '\\');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string file_name = path.substr(folder.size());
    const std::size_t dot = setup::text::FindLastChar(file_name, '.');
    const std::string title = file_name.substr(0, dot);

    const std::string arguments = command_line ? command_line : "";
    constexpr char kHold[] = "--hold ";
    if (arguments.rfind(kHold, 0) == 0 && !LoadLibraryA(arguments.substr(sizeof kHold - 1).c_str()))
        return 2;

    AppendLine(folder + "started.log", file_name + "\t" + (command_line ? command_line : "") +
                                           "\t" + CreationTime() + "\r\n");

    WNDCLASSA window_class{};
    window_class.lpfnWndProc = WindowProc;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    window_class.lpszClassName = kClassName;
    RegisterClassA(&window_class);
    HWND window = CreateWindowExA(0, kClassName, title.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 360, 120, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, show == SW_HIDE ? SW_SHOWNORMAL : show);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
