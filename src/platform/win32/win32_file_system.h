// Files and folders through the Win32 file functions (ANSI names).
#pragma once

#include "platform/file_system.h"

namespace setup {

class Win32FileSystem final : public FileSystem {
public:
    bool FileExists(const std::string& path) const override;
    bool DirectoryExists(const std::string& path) const override;
    Result MakeDirectory(const std::string& path) override;
    Result MakeProtectedDirectory(const std::string& path) override;
    Result WriteWholeFile(const std::string& path, const ContentSource& source) override;
    Result ReplaceAtRestart(const std::string& path, const ContentSource& source) override;
    std::vector<std::string> RemoveWriteLeftovers(const std::string& folder) override;
    Result ProbeWrite(const std::string& folder) override;
    std::string FullPath(const std::string& path) const override;
    std::vector<std::string> SystemFolders() const override;
    bool LetsUsersWrite(const std::string& folder) const override;
    std::optional<std::uint64_t> FreeSpace(const std::string& path) const override;
    std::optional<std::uint64_t> ClusterSize(const std::string& path) const override;
    bool IsFixedDrive(char letter) const override;
    std::vector<char> DriveLetters() const override;
    std::string CurrentDirectory() const override;
    Result ChangeDirectory(std::string_view path) override;
    std::string DriveCurrentDirectory(char drive) const override;
    std::vector<std::string> Subfolders(std::string_view folder) const override;
};

}  // namespace setup
