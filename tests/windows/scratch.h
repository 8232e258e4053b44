// Scratch names and folders for the Windows tests, unique per test process, so tests that run at
// the same time in one Wine session never meet.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace setup::testing {

inline std::string Pid() {
    return std::to_string(GetCurrentProcessId());
}

// C:\setup-tests\<name>-<pid>, created with its parent.
inline std::string ScratchFolder(const std::string& name) {
    CreateDirectoryA("C:\\setup-tests", nullptr);
    std::string folder = "C:\\setup-tests\\" + name + "-" + Pid();
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

// A Linux path of the build, as Wine's Z: drive shows it.
inline std::string FromBuildTree(const std::string& unix_path) {
    std::string path = "Z:" + unix_path;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

// Writes a small file (and nothing else) for tests that need one to exist.
inline bool TouchFile(const std::string& path, const std::string& content = "x") {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
    return written == content.size();
}

// The whole content of a file; nothing when it cannot be read.
inline std::optional<std::string> ReadWholeFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    const BOOL ok = bytes.empty() ||
                    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    if (!ok) return std::nullopt;
    bytes.resize(read);
    return bytes;
}

}  // namespace setup::testing
