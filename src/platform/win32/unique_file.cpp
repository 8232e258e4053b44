#include "platform/win32/unique_file.h"

namespace setup::win32 {

namespace {

// Enough names for leftovers of earlier runs; a folder flooded with planted names fails instead
// of keeping the installer searching.
constexpr int kMaxTries = 1000;

}  // namespace

NewFile CreateUniqueFile(const std::string& folder, const std::string& prefix,
                         const std::string& suffix, DWORD share) {
    std::string base = folder;
    if (!base.empty() && base.back() != '\\') base += '\\';
    base += prefix + std::to_string(GetCurrentProcessId()) + "-";
    NewFile made;
    for (int n = 1; n <= kMaxTries; ++n) {
        made.path = base + std::to_string(n) + suffix;
        made.handle.reset(CreateFileA(made.path.c_str(), GENERIC_WRITE, share, nullptr,
                                      CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (made.handle) return made;
        made.error = GetLastError();
        // A folder of that name refuses with "access denied": taken as well.
        const bool taken = made.error == ERROR_FILE_EXISTS || made.error == ERROR_ALREADY_EXISTS ||
                           (made.error == ERROR_ACCESS_DENIED &&
                            GetFileAttributesA(made.path.c_str()) != INVALID_FILE_ATTRIBUTES);
        if (!taken) break;
    }
    made.path.clear();
    return made;
}

}  // namespace setup::win32
