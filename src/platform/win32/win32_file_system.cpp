#include "platform/win32/win32_file_system.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shlobj.h>

#include <algorithm>

#include "platform/text.h"
#include "platform/win32/folder_security.h"
#include "platform/win32/handles.h"
#include "platform/win32/pending_renames.h"
#include "platform/win32/unique_file.h"

namespace setup {

namespace {

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

// A temporary file for a write, open for writing, in the folder of its target.
struct TemporaryFile {
    win32::UniqueHandle handle;
    std::string path;
};

// The one place where a temporary name is chosen and its file created: a name nothing had,
// created new, so an existing file or a link planted at a name is never opened. The prefix says
// what the file is for (kWriteTempPrefix for a write, another for a copy that waits for a
// restart), so a cleanup of one kind never takes the other.
Result CreateTemporary(const std::string& folder, const char* prefix, TemporaryFile& out) {
    win32::NewFile made = win32::CreateUniqueFile(folder, prefix, kTempExtension, 0);
    if (!made.handle) return Result::Failed(made.error);
    out.handle = std::move(made.handle);
    out.path = std::move(made.path);
    return Result::Ok();
}

Result CreateWriteTemporary(const std::string& folder, TemporaryFile& out) {
    return CreateTemporary(folder, kWriteTempPrefix, out);
}

// Moves the complete file temp over target, whose attributes were replaced_attributes. A
// read-only file is replaced too (the installer owns what it installs) and stays read-only, as
// hidden and system files keep those bits.
Result MoveOver(const std::string& temp, const std::string& target, DWORD replaced_attributes) {
    const bool read_only = replaced_attributes & FILE_ATTRIBUTE_READONLY;
    if (read_only)
        SetFileAttributesA(target.c_str(), replaced_attributes & ~FILE_ATTRIBUTE_READONLY);
    if (!MoveFileExA(temp.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = GetLastError();
        if (read_only) SetFileAttributesA(target.c_str(), replaced_attributes);
        return Result::Failed(error);
    }
    // The content is in place; attributes that cannot be set again are not worth failing it.
    SetFileAttributesA(target.c_str(), replaced_attributes);
    return Result::Ok();
}

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

// A file is written to a temporary file in its folder and moved into place only when complete:
// a run that fails, or is killed, never leaves part of a file under the final name. A file that
// is replaced is flushed first, so the old one goes only when the new one is whole, and keeps
// its attributes and its own permissions; a running program's file refuses the move. Files are
// opened without sharing, as a program's own output.
Result Win32FileSystem::WriteWholeFile(const std::string& path, const ContentSource& source) {
    const DWORD replaced = GetFileAttributesA(path.c_str());
    // A folder is never replaced by a file: fail as the move would, before anything is written.
    if (replaced != INVALID_FILE_ATTRIBUTES && (replaced & FILE_ATTRIBUTE_DIRECTORY))
        return Result::Failed(ERROR_ACCESS_DENIED);
    RemoveUnlessKept made;
    TemporaryFile temp;
    if (Result created = CreateWriteTemporary(FolderOf(path), temp); !created) return created;
    made.Watch(temp.path);
    FileWriter writer(temp.handle.get());
    source([&writer](Bytes chunk) { return writer.Write(chunk); });
    if (writer.error()) return Result::Failed(writer.error());
    if (replaced == INVALID_FILE_ATTRIBUTES) {
        // Closed before the move; a new file needs no flush for that: a killed process's writes
        // reach the disk all the same.
        temp.handle.reset();
        if (!MoveFileExA(temp.path.c_str(), path.c_str(), 0)) return Result::Failed(GetLastError());
        made.Keep();
        return Result::Ok();
    }
    if (!FlushFileBuffers(temp.handle.get())) return Result::Failed(GetLastError());
    temp.handle.reset();
    if (Result kept = win32::CopyOwnPermissions(path, temp.path); !kept) return kept;
    if (Result moved = MoveOver(temp.path, path, replaced); !moved) return moved;
    made.Keep();
    return Result::Ok();
}

// The copy waits under a name of its own (kRestartCopyPrefix, which the cleanup of write
// leftovers never takes) until the system, starting again, moves it over the file before any
// program runs. Scheduling needs an administrator, as the installer is.
Result Win32FileSystem::ReplaceAtRestart(const std::string& path, const ContentSource& source) {
    RemoveUnlessKept made;
    TemporaryFile copy;
    if (Result created = CreateTemporary(FolderOf(path), kRestartCopyPrefix, copy); !created)
        return created;
    made.Watch(copy.path);
    FileWriter writer(copy.handle.get());
    source([&writer](Bytes chunk) { return writer.Write(chunk); });
    if (writer.error()) return Result::Failed(writer.error());
    if (!FlushFileBuffers(copy.handle.get())) return Result::Failed(GetLastError());
    copy.handle.reset();
    if (!MoveFileExA(copy.path.c_str(), path.c_str(),
                     MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_REPLACE_EXISTING))
        return Result::Failed(GetLastError());
    made.Keep();
    return Result::Ok();
}

std::vector<std::string> Win32FileSystem::RemoveWriteLeftovers(const std::string& folder) {
    std::vector<std::string> removed;
    WIN32_FIND_DATAA found;
    const std::string pattern = folder + "\\" + kWriteTempPrefix + "*";
    win32::UniqueFind search(FindFirstFileA(pattern.c_str(), &found));
    if (!search) return removed;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
            !IsWriteLeftover(found.cFileName))
            continue;
        const std::string path = folder + "\\" + found.cFileName;
        // A copy that waits for the restart keeps its own prefix; the list guards it all the same.
        if (win32::WaitsForRestart(path)) continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (DeleteFileA(path.c_str())) removed.push_back(path);
    } while (FindNextFileA(search.get(), &found));
    return removed;
}

Result Win32FileSystem::ProbeWrite(const std::string& folder) {
    TemporaryFile probe;
    if (Result created = CreateWriteTemporary(folder, probe); !created) return created;
    probe.handle.reset();
    if (!DeleteFileA(probe.path.c_str())) return Result::Failed(GetLastError());
    return Result::Ok();
}

Result Win32FileSystem::MakeProtectedDirectory(const std::string& path) {
    win32::UniqueSecurityDescriptor descriptor = win32::ProtectedFolderDescriptor();
    if (!descriptor) return Result::Failed(GetLastError());
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor.get(), FALSE};
    if (CreateDirectoryA(path.c_str(), &attributes)) return Result::Ok();
    return Result::Failed(GetLastError());
}

std::string Win32FileSystem::FullPath(const std::string& path) const {
    char buffer[MAX_PATH + 1];
    const DWORD length = GetFullPathNameA(path.c_str(), sizeof buffer, buffer, nullptr);
    return length > 0 && length < sizeof buffer ? std::string(buffer, length) : path;
}

// The system's own folder and its program folders, both views of them where there are two.
std::vector<std::string> Win32FileSystem::SystemFolders() const {
    std::vector<std::string> folders;
    auto add = [&folders](std::string folder) {
        while (!folder.empty() && folder.back() == '\\') folder.pop_back();
        if (!folder.empty() && std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.push_back(std::move(folder));
    };
    char buffer[MAX_PATH + 1];
    if (UINT length = GetWindowsDirectoryA(buffer, sizeof buffer); length && length < sizeof buffer)
        add(std::string(buffer, length));
    for (int csidl : {CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILESX86})
        if (SUCCEEDED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer)))
            add(buffer);
    // A 32-bit process sees the 32-bit program folder above; the 64-bit one only by this name.
    if (DWORD length = GetEnvironmentVariableA("ProgramW6432", buffer, sizeof buffer);
        length && length < sizeof buffer)
        add(std::string(buffer, length));
    return folders;
}

bool Win32FileSystem::LetsUsersWrite(const std::string& folder) const {
    return win32::LetsUsersWrite(folder);
}

std::optional<std::uint64_t> Win32FileSystem::FreeSpace(const std::string& path) const {
    ULARGE_INTEGER available;
    if (!GetDiskFreeSpaceExA(path.c_str(), &available, nullptr, nullptr)) return std::nullopt;
    return available.QuadPart;
}

std::optional<std::uint64_t> Win32FileSystem::ClusterSize(const std::string& path) const {
    char root[MAX_PATH + 1];
    if (!GetVolumePathNameA(path.c_str(), root, sizeof root)) return std::nullopt;
    DWORD sectors_per_cluster = 0, bytes_per_sector = 0, free_clusters = 0, clusters = 0;
    if (!GetDiskFreeSpaceA(root, &sectors_per_cluster, &bytes_per_sector, &free_clusters,
                           &clusters) ||
        sectors_per_cluster == 0 || bytes_per_sector == 0)
        return std::nullopt;
    return std::uint64_t{sectors_per_cluster} * bytes_per_sector;
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
