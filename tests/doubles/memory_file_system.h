// An in-memory file system for the native tests: drive roots and folders are added by the test,
// names compare without regard to ASCII case, writes can be refused or held by a "running
// program" (see MemoryProcesses) the way the platform refuses them, and a process current
// directory is kept per drive for the directory chooser.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace setup {

// Platform error codes that the double reports.
constexpr std::uint32_t kErrorPathNotFound = 3;
constexpr std::uint32_t kErrorAccessDenied = 5;
constexpr std::uint32_t kErrorAlreadyExists = 183;
constexpr std::uint32_t kErrorInvalidName = 123;
constexpr std::uint32_t kErrorDiskFull = 112;

class MemoryFileSystem final : public FileSystem {
public:
    // Makes a drive root ("C:" or "C:\") or a folder exist, with all its parents; records no
    // creation.
    void AddDirectory(std::string_view path);
    // Adds a file, creating its folders as AddDirectory does.
    void AddFile(std::string_view path, std::vector<std::uint8_t> bytes = {});
    // While owner holds path, moving a new file over it fails.
    void Lock(std::string_view path, std::uint32_t owner);
    void ReleaseLocks(std::uint32_t owner);
    // The owners that hold path.
    std::vector<std::uint32_t> LockOwners(std::string_view path) const;
    // Every write to path fails with access denied; every create of path fails.
    void Refuse(std::string_view path);
    // The space left on a drive ("C"); writes that need more fail part way with a full disk.
    // Without it a drive has room for everything and reports no free space.
    void SetFreeSpace(char drive, std::uint64_t bytes);
    // Scheduling a replacement at the next restart fails with access denied (not an
    // administrator).
    void RefuseRestartReplacement() { restart_refused_ = true; }
    // The replacements waiting for the next restart, in the order they were scheduled; Restart
    // carries them out, as the system does when it starts again.
    struct PendingReplacement {
        std::string path;
        std::vector<std::uint8_t> bytes;
    };
    const std::vector<PendingReplacement>& PendingReplacements() const { return pending_; }
    void Restart();
    // Drives that are not fixed local disks; every other drive is.
    void SetRemovable(char drive) { removable_.insert(drive); }
    // The allocation unit of a drive; without it the platform "cannot tell".
    void SetClusterSize(char drive, std::uint64_t bytes);
    // No file can be created directly inside folder (a read-only folder); folders still can.
    void RefuseFilesIn(std::string_view folder);
    // The folder's permissions let ordinary users write.
    void OpenToUsers(std::string_view folder);

    std::optional<std::vector<std::uint8_t>> FileBytes(std::string_view path) const;
    // The names (upper-cased, no folder) of the files directly inside folder, temporaries of a
    // write underway included.
    std::vector<std::string> FileNamesIn(std::string_view folder) const;
    // Folders made by MakeDirectory, and files written by WriteWholeFile, in order.
    const std::vector<std::string>& CreatedDirectories() const { return created_; }
    const std::vector<std::string>& WrittenFiles() const { return written_; }
    // Folders made by MakeProtectedDirectory (also in CreatedDirectories).
    const std::vector<std::string>& ProtectedDirectories() const { return protected_; }

    bool FileExists(const std::string& path) const override;
    bool DirectoryExists(const std::string& path) const override;
    Result MakeDirectory(const std::string& path) override;
    Result MakeProtectedDirectory(const std::string& path) override;
    // The content is gathered first and lands on the file only when the whole write succeeds;
    // meanwhile an empty temporary file (kWriteTempPrefix) stands in its folder, removed however
    // the write ends.
    Result WriteWholeFile(const std::string& path, const ContentSource& source) override;
    Result ReplaceAtRestart(const std::string& path, const ContentSource& source) override;
    std::vector<std::string> RemoveWriteLeftovers(const std::string& folder) override;
    Result ProbeWrite(const std::string& folder) override;
    // Resolves "." and "..", drops one dot at the end of a folder's name and every dot and blank
    // at the end of the last name, as the system does; keeps the text as it was otherwise.
    std::string FullPath(const std::string& path) const override;
    std::vector<std::string> SystemFolders() const override { return system_folders_; }
    bool LetsUsersWrite(const std::string& folder) const override;
    std::optional<std::uint64_t> FreeSpace(const std::string& path) const override;
    std::optional<std::uint64_t> ClusterSize(const std::string& path) const override;
    bool IsFixedDrive(char letter) const override;
    std::vector<char> DriveLetters() const override;
    std::string CurrentDirectory() const override { return current_; }
    Result ChangeDirectory(std::string_view path) override;
    std::string DriveCurrentDirectory(char drive) const override;
    std::vector<std::string> Subfolders(std::string_view folder) const override;

private:
    static std::string Key(std::string_view path);
    static std::string ParentKey(const std::string& key);
    static bool ValidName(const std::string& key);
    // The content source's bytes, within the drive's free space; a full disk gives its error.
    std::optional<std::vector<std::uint8_t>> Gather(const std::string& key,
                                                    const ContentSource& source, Result& failure,
                                                    const char* prefix);
    // A folder as the system reports it: "C:\" for a root, no trailing backslash otherwise.
    std::string Reported(const std::string& key) const;

    std::map<std::string, std::string> directories_;  // key -> path as added
    std::map<std::string, std::vector<std::uint8_t>> files_;
    std::multimap<std::string, std::uint32_t> locks_;
    std::set<std::string> refused_;
    std::map<char, std::uint64_t> free_space_;
    std::set<char> removable_;
    std::map<char, std::uint64_t> cluster_size_;
    std::set<std::string> refused_folders_;
    std::set<std::string> open_to_users_;
    std::vector<std::string> system_folders_ = {"C:\\Program Files", "C:\\Program Files (x86)",
                                                "C:\\Windows"};
    std::vector<std::string> protected_;
    std::map<char, std::string> drive_current_;
    std::string current_ = "C:\\";
    std::vector<std::string> created_;
    std::vector<std::string> written_;
    std::vector<PendingReplacement> pending_;
    bool restart_refused_ = false;
    int temporaries_made_ = 0;
};

}  // namespace setup
