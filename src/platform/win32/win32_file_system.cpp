#include "platform/win32/win32_file_system.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/handles.h"

namespace setup {

bool Win32FileSystem::FileExists(const std::string& path) const {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::DirectoryExists(const std::string& path) const {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::MakeDirectory(const std::string& path) {
    return CreateDirectoryA(path.c_str(), nullptr) != 0;
}

// Opened without sharing, as a program's own output file: a file that a running program holds
// (its executable, a loaded library) refuses the open with a sharing violation.
WriteResult Win32FileSystem::WriteFileBytes(const std::string& path,
                                            std::span<const std::uint8_t> bytes) {
    win32::UniqueHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return {false, GetLastError()};
    constexpr std::size_t kChunk = 1u << 24;
    for (std::size_t done = 0; done < bytes.size();) {
        DWORD want = static_cast<DWORD>(std::min(kChunk, bytes.size() - done));
        DWORD written = 0;
        if (!WriteFile(file.get(), bytes.data() + done, want, &written, nullptr) || written == 0)
            return {false, GetLastError()};
        done += written;
    }
    return {true, 0};
}

}  // namespace setup
