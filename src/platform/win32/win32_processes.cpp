#include "platform/win32/win32_processes.h"

#include <windows.h>
// after windows.h, which it needs
#include <tlhelp32.h>

#include <algorithm>

#include "platform/text.h"
#include "platform/win32/handles.h"
#include "platform/win32/restart_manager.h"

namespace setup {

namespace {

// The full path of a process's executable; "" when the process cannot be asked.
std::string ImagePath(DWORD id) {
    win32::UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
    if (!process) return {};
    char path[MAX_PATH * 2];
    DWORD size = sizeof path;
    if (!QueryFullProcessImageNameA(process.get(), 0, path, &size)) return {};
    return std::string(path, size);
}

// Whether the process has the file loaded: its program or one of its DLLs. A process of another
// bitness or user may refuse the module list; it then does not count.
bool HasModule(DWORD id, const std::string& path) {
    win32::UniqueHandle modules(
        CreateToolhelp32Snapshot(TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32, id));
    if (!modules) return false;
    MODULEENTRY32 module = {};
    module.dwSize = sizeof module;
    for (BOOL more = Module32First(modules.get(), &module); more;
         more = Module32Next(modules.get(), &module))
        if (text::EqualsIgnoreAsciiCase(module.szExePath, path)) return true;
    return false;
}

}  // namespace

// The Restart Manager knows open files as well as loaded ones; where it says nothing (Wine), the
// programs and module lists show who has the file loaded. A data file merely kept open is then
// not found, and its write fails as a plain one.
std::vector<ProcessEntry> Win32Processes::FileHolders(const std::string& path) const {
    const std::vector<std::uint32_t> listed = win32::RestartManagerHolders(path);
    const DWORD self = GetCurrentProcessId();
    std::vector<ProcessEntry> holders;
    for (ProcessEntry& process : Snapshot()) {
        if (process.id == self || process.id == 0) continue;
        const bool holds = std::find(listed.begin(), listed.end(), process.id) != listed.end() ||
                           text::EqualsIgnoreAsciiCase(process.image_path, path) ||
                           (listed.empty() && HasModule(process.id, path));
        if (holds) holders.push_back(std::move(process));
    }
    return holders;
}

std::vector<ProcessEntry> Win32Processes::Snapshot() const {
    std::vector<ProcessEntry> list;
    win32::UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return list;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot.get(), &entry); more;
         more = Process32Next(snapshot.get(), &entry))
        list.push_back({entry.th32ProcessID,
                        std::string(entry.szExeFile, strnlen(entry.szExeFile, MAX_PATH)),
                        ImagePath(entry.th32ProcessID)});
    return list;
}

Result Win32Processes::Terminate(std::uint32_t id) {
    win32::UniqueHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, id));
    if (!process || !TerminateProcess(process.get(), 0)) return Result::Failed(GetLastError());
    return Result::Ok();
}

bool Win32Processes::WaitForExit(std::span<const std::uint32_t> ids, unsigned timeout_ms) {
    ULONGLONG deadline = GetTickCount64() + timeout_ms;
    bool all_gone = true;
    for (std::uint32_t id : ids) {
        win32::UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, id));
        if (!process) {  // no such process any more: it is gone already
            all_gone = all_gone && GetLastError() == ERROR_INVALID_PARAMETER;
            continue;
        }
        ULONGLONG now = GetTickCount64();
        DWORD left = now < deadline ? static_cast<DWORD>(deadline - now) : 0;
        all_gone = WaitForSingleObject(process.get(), left) == WAIT_OBJECT_0 && all_gone;
    }
    return all_gone;
}

std::vector<std::string> Win32Processes::TopLevelWindowTitles() const {
    std::vector<std::string> titles;
    HWND window = GetWindow(GetDesktopWindow(), GW_CHILD);
    if (window) window = GetWindow(window, GW_HWNDFIRST);
    for (; window; window = GetWindow(window, GW_HWNDNEXT)) {
        char title[255];
        int length = GetWindowTextA(window, title, sizeof title);
        if (length > 0) titles.emplace_back(title, static_cast<std::size_t>(length));
    }
    return titles;
}

}  // namespace setup
