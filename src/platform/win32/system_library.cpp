#include "platform/win32/system_library.h"

#include <string>

namespace setup::win32 {

namespace {

// Windows 7 without its loader update knows neither the search flags nor the function that sets
// them: the function is looked up, and the flags' refusal falls back to the system folder's path.
using SetDefaultDllDirectoriesFunction = BOOL WINAPI(DWORD);

std::string SystemFolderPath(const char* name) {
    char folder[MAX_PATH + 1] = {};
    const UINT length = GetSystemDirectoryA(folder, sizeof folder);
    if (length == 0 || length >= sizeof folder) return {};
    return std::string(folder, length) + "\\" + name;
}

// System DLLs that the system's own libraries load by name on their own (themes, and what the
// theme library loads when it draws), and the DLLs that the program delay-loads, whose
// dependencies follow the search they were loaded with. Loaded here from the system folder, in
// this order (comctl32 loads uxtheme as it starts), a later load by name finds them loaded. This
// also covers a loader that keeps the program's folder in such loads (Wine does).
// shcore is what Wine's shell32 loads by name when asked for a special folder (the folder check
// asks for the program folders); Windows before 8.1 has none, which is no loss.
constexpr const char* kLoadedEarly[] = {"msimg32.dll", "uxtheme.dll", "comctl32.dll",
                                        "shcore.dll", "shell32.dll"};

}  // namespace

void RestrictDllSearchToSystem() {
    // kernel32 is mapped into every process before the program's code runs.
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    auto* set_default = reinterpret_cast<SetDefaultDllDirectoriesFunction*>(
        reinterpret_cast<void (*)()>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
    if (set_default) set_default(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // "" takes the current folder out of the older search order too.
    SetDllDirectoryA("");
    for (const char* name : kLoadedEarly) LoadSystemLibrary(name);
}

HMODULE LoadSystemLibrary(const char* name) {
    HMODULE module = LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module && GetLastError() == ERROR_INVALID_PARAMETER) {
        const std::string path = SystemFolderPath(name);
        if (!path.empty()) module = LoadLibraryExA(path.c_str(), nullptr, 0);
    }
    return module;
}

SystemLibrary::~SystemLibrary() {
    if (module_) FreeLibrary(module_);
}

}  // namespace setup::win32
