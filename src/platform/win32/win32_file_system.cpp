#include "platform/win32/win32_file_system.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/handles.h"

namespace setup {

namespace {

// Removes the temporary file unless the write went through.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
    ~TemporaryFile() {
        if (!path_.empty()) DeleteFileA(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    const std::string& path() const { return path_; }
    void Keep() { path_.clear(); }

private:
    std::string path_;
};

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

}  // namespace

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

// The temporary file is opened without sharing, as a program's own output. Only a file that is
// replaced is flushed before the move: a new file that a crash leaves short destroys nothing,
// and the flush of every file would cost the installation its speed.
WriteResult Win32FileSystem::WriteWholeFile(const std::string& path, const ContentSource& source) {
    char temp_name[MAX_PATH] = {};
    if (!GetTempFileNameA(FolderOf(path).c_str(), "~ts", 0, temp_name))
        return {false, GetLastError()};
    TemporaryFile temp(temp_name);
    win32::UniqueHandle file(CreateFileA(temp.path().c_str(), GENERIC_WRITE, 0, nullptr,
                                         TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return {false, GetLastError()};
    FileWriter writer(file.get());
    source([&writer](Bytes chunk) { return writer.Write(chunk); });
    if (writer.error()) return {false, writer.error()};
    const bool replacing = GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (replacing && !FlushFileBuffers(file.get())) return {false, GetLastError()};
    file.reset();
    const DWORD flags = MOVEFILE_REPLACE_EXISTING | (replacing ? MOVEFILE_WRITE_THROUGH : 0);
    if (!MoveFileExA(temp.path().c_str(), path.c_str(), flags)) return {false, GetLastError()};
    temp.Keep();
    return {true, 0};
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

}  // namespace setup
