// System DLLs from the system folder only. The installer runs elevated from wherever it was
// downloaded; a DLL found beside it would run its code with the installer's rights. The program
// imports directly only DLLs that Windows keeps as known DLLs (always taken from the system);
// every other system DLL is loaded here, by name, from the system folder.
#pragma once

#include <windows.h>

namespace setup::win32 {

// Takes the program's folder and the current folder out of the search for every DLL loaded from
// now on, the system libraries' own dependencies included. The first thing the program does.
void RestrictDllSearchToSystem();

// A system DLL from the system folder, for one that stays loaded as long as the process runs;
// nullptr when it cannot be loaded.
HMODULE LoadSystemLibrary(const char* name);

// One system DLL, loaded from the system folder and released at scope end.
class SystemLibrary {
public:
    explicit SystemLibrary(const char* name) : module_(LoadSystemLibrary(name)) {}
    ~SystemLibrary();
    SystemLibrary(const SystemLibrary&) = delete;
    SystemLibrary& operator=(const SystemLibrary&) = delete;

    bool Loaded() const { return module_ != nullptr; }
    HMODULE Module() const { return module_; }

    // The DLL's function of that name as the type the caller declares; nullptr when the DLL or
    // the function is missing.
    template <typename Function>
    Function* Find(const char* function) const {
        return module_ ? reinterpret_cast<Function*>(
                             reinterpret_cast<void (*)()>(GetProcAddress(module_, function)))
                       : nullptr;
    }

private:
    HMODULE module_;
};

}  // namespace setup::win32
