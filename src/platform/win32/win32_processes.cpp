#include "platform/win32/win32_processes.h"

#include <windows.h>
// after windows.h, which it needs
#include <tlhelp32.h>

#include "platform/win32/handles.h"

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

}  // namespace

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
