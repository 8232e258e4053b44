#include "platform/win32/win32_directories.h"

#include <windows.h>

#include <algorithm>

#include "platform/text.h"
#include "platform/win32/handles.h"

namespace setup {

namespace {

std::string DriveVariable(char drive) { return std::string{'=', drive, ':'}; }

}  // namespace

std::vector<char> Win32Directories::DriveLetters() const {
    std::vector<char> letters;
    DWORD mask = GetLogicalDrives();
    for (int i = 0; i < 26; ++i)
        if (mask & (1u << i)) letters.push_back(static_cast<char>('A' + i));
    return letters;
}

std::string Win32Directories::CurrentDirectory() const {
    char buffer[MAX_PATH + 1];
    DWORD length = GetCurrentDirectoryA(sizeof buffer, buffer);
    return length > 0 && length < sizeof buffer ? std::string(buffer, length) : std::string();
}

// The system keeps each drive's current directory in the hidden variable "=X:"; changing the
// process's directory does not update it, so it is set here as a command shell would.
bool Win32Directories::ChangeDirectory(std::string_view path) {
    if (!SetCurrentDirectoryA(std::string(path).c_str())) return false;
    std::string now = CurrentDirectory();
    if (now.size() >= 2 && now[1] == ':') {
        char drive = text::AsciiUpper(now.substr(0, 1))[0];
        SetEnvironmentVariableA(DriveVariable(drive).c_str(), now.c_str());
    }
    return true;
}

std::string Win32Directories::DriveCurrentDirectory(char drive) const {
    char letter = text::AsciiUpper(std::string(1, drive))[0];
    char buffer[MAX_PATH + 1];
    DWORD length = GetEnvironmentVariableA(DriveVariable(letter).c_str(), buffer, sizeof buffer);
    if (length > 0 && length < sizeof buffer) return std::string(buffer, length);
    return std::string{letter, ':', '\\'};
}

std::vector<std::string> Win32Directories::Subfolders(std::string_view folder) const {
    std::string pattern(folder);
    if (pattern.empty() || pattern.back() != '\\') pattern += '\\';
    pattern += '*';
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    win32::UniqueFind search(FindFirstFileA(pattern.c_str(), &found));
    if (!search) return names;
    do {
        const std::string name = found.cFileName;
        const bool folder_entry = found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
        const bool hidden = found.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
        if (folder_entry && !hidden && name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search.get(), &found));
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return text::AsciiUpper(a) < text::AsciiUpper(b);
    });
    return names;
}

bool Win32Directories::FolderExists(std::string_view path) const {
    DWORD attributes = GetFileAttributesA(std::string(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32Directories::MakeFolder(std::string_view path) {
    return CreateDirectoryA(std::string(path).c_str(), nullptr) != 0;
}

}  // namespace setup
