#include "platform/win32/win32_file_system.h"

#include <windows.h>

#include <algorithm>

#include "platform/text.h"
#include "platform/win32/handles.h"
#include "platform/win32/unique_file.h"

namespace setup {

namespace {

// Temporary files are named ~ts<unique>.tmp in the folder of the file they replace.
constexpr char kTemporaryPrefix[] = "~ts";
constexpr char kTemporarySuffix[] = ".tmp";

// Removes a file this write made unless the write went through. Declared before the file's
// handle, so the handle is closed first.
class RemoveUnlessKept {
public:
    RemoveUnlessKept() = default;
    ~RemoveUnlessKept() {
        if (!path_.empty()) DeleteFileA(path_.c_str());
    }
    RemoveUnlessKept(const RemoveUnlessKept&) = delete;
    RemoveUnlessKept& operator=(const RemoveUnlessKept&) = delete;
    void Watch(std::string path) { path_ = std::move(path); }
    const std::string& path() const { return path_; }
    void Keep() { path_.clear(); }

private:
    std::string path_;
};

std::string DriveVariable(char drive) {
    return std::string{'=', drive, ':'};
}

std::string FolderOf(const std::string& path) {
    std::size_t at = text::FindLastChar(path, '\\');
    return at == std::string::npos ? std::string(".") : path.substr(0, at);
}

// A temporary file beside a file it will replace, made under a name nothing had: a link planted
// at a temporary name is never written through.
win32::NewFile NewTemporaryFile(const std::string& folder) {
    return win32::CreateUniqueFile(folder, kTemporaryPrefix, kTemporarySuffix, 0);
}

// Writes every chunk, going on after short writes; remembers the first error.
class FileWriter {
public:
    explicit FileWriter(HANDLE file) : file_(file) {}
    bool Write(Bytes chunk) {
        while (!chunk.empty() && error_ == 0) {
            DWORD want = static_cast<DWORD>(std::min<std::size_t>(chunk.size(), 1u << 24));
            DWORD written = 0;
            if (!WriteFile(file_, chunk.data(), want, &written, nullptr) || written == 0)
                error_ = GetLastError() ? GetLastError() : ERROR_WRITE_FAULT;
            chunk = chunk.subspan(written);
        }
        return error_ == 0;
    }
    DWORD error() const { return error_; }

private:
    HANDLE file_;
    DWORD error_ = 0;
};

}  // namespace

bool Win32FileSystem::FileExists(const std::string& path) const {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::DirectoryExists(const std::string& path) const {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

Result Win32FileSystem::MakeDirectory(const std::string& path) {
    if (CreateDirectoryA(path.c_str(), nullptr)) return Result::Ok();
    return Result::Failed(GetLastError());
}

// A new file is written where it goes: a write that fails removes it again, and nothing that
// existed is touched. A file that exists is written to a temporary file in its folder, flushed
// and moved over it in one step, so it is never left half written; a running program's file
// refuses the move. Files are opened without sharing, as a program's own output.
Result Win32FileSystem::WriteWholeFile(const std::string& path, const ContentSource& source) {
    RemoveUnlessKept made;
    win32::UniqueHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    const DWORD opened = file ? ERROR_SUCCESS : GetLastError();
    if (file) {
        made.Watch(path);
    } else if (opened == ERROR_FILE_EXISTS || opened == ERROR_ALREADY_EXISTS) {
        win32::NewFile temp = NewTemporaryFile(FolderOf(path));
        if (!temp.handle) return Result::Failed(temp.error);
        made.Watch(temp.path);
        file = std::move(temp.handle);
    } else {
        return Result::Failed(opened);
    }
    FileWriter writer(file.get());
    source([&writer](Bytes chunk) { return writer.Write(chunk); });
    if (writer.error()) return Result::Failed(writer.error());
    if (made.path() == path) {
        file.reset();
        made.Keep();
        return Result::Ok();
    }
    if (!FlushFileBuffers(file.get())) return Result::Failed(GetLastError());
    file.reset();
    if (!MoveFileExA(made.path().c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return Result::Failed(GetLastError());
    made.Keep();
    return Result::Ok();
}

std::optional<std::uint64_t> Win32FileSystem::FreeSpace(const std::string& path) const {
    ULARGE_INTEGER available;
    if (!GetDiskFreeSpaceExA(path.c_str(), &available, nullptr, nullptr)) return std::nullopt;
    return available.QuadPart;
}

bool Win32FileSystem::IsFixedDrive(char letter) const {
    const char root[] = {letter, ':', '\\', '\0'};
    return GetDriveTypeA(root) == DRIVE_FIXED;
}

std::vector<char> Win32FileSystem::DriveLetters() const {
    std::vector<char> letters;
    DWORD mask = GetLogicalDrives();
    for (int i = 0; i < 26; ++i)
        if (mask & (1u << i)) letters.push_back(static_cast<char>('A' + i));
    return letters;
}

std::string Win32FileSystem::CurrentDirectory() const {
    char buffer[MAX_PATH + 1];
    DWORD length = GetCurrentDirectoryA(sizeof buffer, buffer);
    return length > 0 && length < sizeof buffer ? std::string(buffer, length) : std::string();
}

// The system keeps each drive's current directory in the hidden variable "=X:"; changing the
// process's directory does not update it, so it is set here as a command shell would.
Result Win32FileSystem::ChangeDirectory(std::string_view path) {
    if (!SetCurrentDirectoryA(std::string(path).c_str())) return Result::Failed(GetLastError());
    std::string now = CurrentDirectory();
    if (now.size() >= 2 && now[1] == ':') {
        char drive = text::AsciiUpper(now.substr(0, 1))[0];
        SetEnvironmentVariableA(DriveVariable(drive).c_str(), now.c_str());
    }
    return Result::Ok();
}

std::string Win32FileSystem::DriveCurrentDirectory(char drive) const {
    char letter = text::AsciiUpper(std::string(1, drive))[0];
    char buffer[MAX_PATH + 1];
    DWORD length = GetEnvironmentVariableA(DriveVariable(letter).c_str(), buffer, sizeof buffer);
    if (length > 0 && length < sizeof buffer) return std::string(buffer, length);
    return std::string{letter, ':', '\\'};
}

std::vector<std::string> Win32FileSystem::Subfolders(std::string_view folder) const {
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
        const bool hidden =
            found.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
        if (folder_entry && !hidden && name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search.get(), &found));
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return text::AsciiUpper(a) < text::AsciiUpper(b);
    });
    return names;
}

}  // namespace setup
