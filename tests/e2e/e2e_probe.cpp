// A small helper for the end-to-end test: it reads link files back through the shell and answers
// message boxes by their buttons, from outside the installer, as a person would.
//   e2e_probe lnk PATH                       print target, arguments, directory, description, icon
//   e2e_probe click CAPTION BUTTON [SECONDS] click the button of the top-level window CAPTION
//   e2e_probe text CAPTION [SECONDS]         print the message text of the window CAPTION
//   e2e_probe kill NAME                      end every process of that executable name and wait
//   e2e_probe run COMMAND_LINE              start a program with exactly that command line (as a
//                                            deployment tool does), wait, print its whole exit
//                                            code (the Unix side sees only 8 bits) and exit with it
//   e2e_probe running PATH                   print how many processes run the program at PATH
//   e2e_probe boxes CAPTION [SECONDS]        print the text of the visible multi-line edit boxes
//                                            of the window CAPTION
// (Wine's taskkill does not see the programs of a 64-bit build; the process snapshot does.)
#include <shlobj.h>
#include <tlhelp32.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/win32/handles.h"

namespace {

using setup::win32::ComPtr;

int PrintLink(const char* path) {
    setup::win32::ComApartment apartment;
    ComPtr<IShellLinkA> link;
    ComPtr<IPersistFile> file;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                link.receive())) ||
        FAILED(link->QueryInterface(IID_IPersistFile, file.receive())))
        return 2;
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH);
    if (FAILED(file->Load(wide, STGM_READ))) return 1;
    char target[MAX_PATH] = {}, args[MAX_PATH] = {}, dir[MAX_PATH] = {}, desc[MAX_PATH] = {},
         icon[MAX_PATH] = {};
    int icon_index = 0;
    link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
    link->GetArguments(args, MAX_PATH);
    link->GetWorkingDirectory(dir, MAX_PATH);
    link->GetDescription(desc, MAX_PATH);
    link->GetIconLocation(icon, MAX_PATH, &icon_index);
    std::printf("%s\t%s\t%s\t%s\t%s,%d\n", target, args, dir, desc, icon, icon_index);
    return 0;
}

// A message box of that caption first (the wizard's own window may carry the same caption),
// else any top-level window.
HWND WaitForWindow(const char* caption, double seconds) {
    for (int waited = 0; waited < seconds * 1000; waited += 100) {
        HWND window = FindWindowA("#32770", caption);
        if (!window || !IsWindowVisible(window)) window = FindWindowA(nullptr, caption);
        if (window && IsWindowVisible(window)) return window;
        Sleep(100);
    }
    return nullptr;
}

int ClickButton(const char* caption, const char* button_text, double seconds) {
    HWND window = WaitForWindow(caption, seconds);
    if (!window) return 1;
    HWND button = FindWindowExA(window, nullptr, "Button", button_text);
    if (!button) return 2;
    SendMessageA(button, BM_CLICK, 0, 0);
    return 0;
}

int PrintText(const char* caption, double seconds) {
    HWND window = WaitForWindow(caption, seconds);
    if (!window) return 1;
    // The message of a message box is its one static control that is not the icon.
    for (HWND child = FindWindowExA(window, nullptr, "Static", nullptr); child;
         child = FindWindowExA(window, child, "Static", nullptr)) {
        char text[1024] = {};
        if (GetWindowTextA(child, text, sizeof text) > 0) std::printf("%s\n", text);
    }
    return 0;
}

BOOL CALLBACK PrintVisibleMemo(HWND child, LPARAM) {
    char window_class[32] = {};
    GetClassNameA(child, window_class, sizeof window_class);
    const bool memo =
        lstrcmpiA(window_class, "Edit") == 0 && (GetWindowLongA(child, GWL_STYLE) & ES_MULTILINE);
    if (!memo || !IsWindowVisible(child)) return TRUE;
    // GetWindowText gives only the caption of another process's window: ask the control itself.
    const LRESULT length = SendMessageA(child, WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    text.resize(static_cast<std::size_t>(
        SendMessageA(child, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    std::printf("%s\n", text.c_str());
    return TRUE;
}

int PrintBoxes(const char* caption, double seconds) {
    HWND window = WaitForWindow(caption, seconds);
    if (!window) return 1;
    EnumChildWindows(window, PrintVisibleMemo, 0);
    return 0;
}

int RunExactly(const char* command_line) {
    std::string line = command_line;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started))
        return 255;
    setup::win32::UniqueHandle process(started.hProcess), thread(started.hThread);
    WaitForSingleObject(process.get(), INFINITE);
    DWORD code = 255;
    GetExitCodeProcess(process.get(), &code);
    std::printf("%lu\n", static_cast<unsigned long>(code));
    return static_cast<int>(code);
}

int CountRunning(const char* path) {
    setup::win32::UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return 2;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int running = 0;
    for (BOOL more = Process32First(snapshot.get(), &entry); more;
         more = Process32Next(snapshot.get(), &entry)) {
        setup::win32::UniqueHandle process(
            OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
        char image[MAX_PATH * 2];
        DWORD size = sizeof image;
        if (process && QueryFullProcessImageNameA(process.get(), 0, image, &size) &&
            lstrcmpiA(image, path) == 0)
            ++running;
    }
    std::printf("%d\n", running);
    return 0;
}

int KillAll(const char* name) {
    setup::win32::UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return 2;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int ended = 0;
    for (BOOL more = Process32First(snapshot.get(), &entry); more;
         more = Process32Next(snapshot.get(), &entry)) {
        if (lstrcmpiA(entry.szExeFile, name) != 0) continue;
        setup::win32::UniqueHandle process(
            OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID));
        if (process && TerminateProcess(process.get(), 0)) {
            WaitForSingleObject(process.get(), 5000);
            ++ended;
        }
    }
    std::printf("%d\n", ended);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "lnk" && argc == 3) return PrintLink(argv[2]);
    if (command == "click" && argc >= 4)
        return ClickButton(argv[2], argv[3], argc > 4 ? std::atof(argv[4]) : 10);
    if (command == "kill" && argc == 3) return KillAll(argv[2]);
    if (command == "text" && argc >= 3)
        return PrintText(argv[2], argc > 3 ? std::atof(argv[3]) : 10);
    if (command == "run" && argc == 3) return RunExactly(argv[2]);
    if (command == "running" && argc == 3) return CountRunning(argv[2]);
    if (command == "boxes" && argc >= 3)
        return PrintBoxes(argv[2], argc > 3 ? std::atof(argv[3]) : 10);
    std::fprintf(stderr,
                 "usage: e2e_probe lnk PATH | click CAPTION BUTTON [S] | text CAPTION [S] | "
                 "boxes CAPTION [S] | run COMMAND_LINE | running PATH | kill NAME\n");
    return 64;
}
