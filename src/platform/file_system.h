// Files and folders as the installer needs them: existence tests, folder creation (also with a
// descriptor that only administrators may change), writing a whole file without ever leaving it
// half written, the space left on a drive, and the folders the directory chooser walks (drives,
// the current directory kept per drive, subfolders). Paths are texts in the ANSI code page.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/bytes.h"
#include "platform/error.h"

namespace setup {

// The name of the temporary file a write goes through until it is complete, in the folder of its
// target: the prefix, characters of the platform's choosing, the extension. A killed run leaves
// such a file behind, and RemoveWriteLeftovers removes exactly these names; temporary files of
// any other purpose must use another prefix, so a cleanup never takes one of theirs.
inline constexpr char kWriteTempPrefix[] = "~ts";
inline constexpr char kTempExtension[] = ".tmp";
// The new copy of a file that a running program holds, waiting beside it for the next restart.
inline constexpr char kRestartCopyPrefix[] = "~tr";
// Whether a file name (no folder) is one of those temporary files.
bool IsWriteLeftover(std::string_view file_name);

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // A file (not a folder) of that name exists.
    virtual bool FileExists(const std::string& path) const = 0;
    // The name has attributes and they include the directory bit.
    virtual bool DirectoryExists(const std::string& path) const = 0;
    // Creates one folder whose parent must exist.
    virtual Result MakeDirectory(const std::string& path) = 0;
    // Creates one folder as MakeDirectory does, with a descriptor of its own instead of the
    // parent's: administrators and the system have full control, users read and execute (as the
    // system's program folder has); inherited by what is created inside.
    virtual Result MakeProtectedDirectory(const std::string& path) = 0;
    // Writes the content that source produces as the whole file at path: always to a temporary
    // file in its folder (kWriteTempPrefix), flushed and moved into place in one step once
    // complete, so no run, not even a killed one, leaves a partial file under the final name. A
    // file that is replaced keeps its attributes and its own permissions. On any failure, also
    // an error that source throws (which passes on), the file at path stays exactly as it was
    // (or does not exist, as before) and no temporary file is left. A file that a running
    // program holds refuses the move.
    virtual Result WriteWholeFile(const std::string& path, const ContentSource& source) = 0;
    // Writes the content beside the file at path, under a name of its own in the same folder,
    // and has the system move it over path at the next restart: for a file that a running
    // program holds. On failure nothing is scheduled and the copy is removed again.
    virtual Result ReplaceAtRestart(const std::string& path, const ContentSource& source) = 0;
    // Removes the write temporaries (IsWriteLeftover) directly inside folder that a killed run
    // left, never one that the system is to rename at the next restart; returns the paths
    // removed.
    virtual std::vector<std::string> RemoveWriteLeftovers(const std::string& folder) = 0;
    // Creates a file in folder and removes it again: whether files can be written there at all.
    virtual Result ProbeWrite(const std::string& folder) = 0;

    // The absolute form of a path as the system resolves it: "." and ".." components applied,
    // the dots and blanks that the system drops from names dropped. The text unchanged when the
    // platform cannot resolve it.
    virtual std::string FullPath(const std::string& path) const = 0;
    // The folders that the system itself protects (its program folders and its own folder),
    // absolute, without a trailing backslash.
    virtual std::vector<std::string> SystemFolders() const = 0;
    // Whether the folder's permissions let ordinary users change what it holds.
    virtual bool LetsUsersWrite(const std::string& folder) const = 0;

    // Bytes available to this user on the volume that holds path (an existing folder); nothing
    // when the platform cannot tell.
    virtual std::optional<std::uint64_t> FreeSpace(const std::string& path) const = 0;
    // The allocation unit of that volume: every file takes a whole number of them; nothing when
    // the platform cannot tell.
    virtual std::optional<std::uint64_t> ClusterSize(const std::string& path) const = 0;
    // Whether the drive with that letter is a fixed local disk (not removable, network or absent).
    virtual bool IsFixedDrive(char letter) const = 0;

    // Upper-case letters of the drives that exist, in order.
    virtual std::vector<char> DriveLetters() const = 0;
    // The process's current directory as the system reports it: "C:\" for a root, "C:\A\B" for
    // any other folder.
    virtual std::string CurrentDirectory() const = 0;
    // Makes path the process's current directory and its drive's current directory.
    virtual Result ChangeDirectory(std::string_view path) = 0;
    // The current directory the system keeps for a drive, its root when none was set.
    virtual std::string DriveCurrentDirectory(char drive) const = 0;
    // Names of the folders directly inside folder (hidden and system ones left out), in the
    // order a folder list shows them.
    virtual std::vector<std::string> Subfolders(std::string_view folder) const = 0;

    // WriteWholeFile with a content already in memory.
    Result WriteFileBytes(const std::string& path, std::span<const std::uint8_t> bytes);

    // Appends each component to path in turn and creates that folder when it is missing; returns
    // the path after the last one. The one loop behind every folder the installer makes: a create
    // that fails is not reported here, the caller's next step finds out.
    std::string CreateLevels(std::string path, std::span<const std::string_view> components);

    // Creates the folder with every missing level, outermost first; the drive root and the server
    // and share of a network path are never created. True when it exists afterwards.
    [[nodiscard]] bool ForceDirectories(std::string_view path);
};

}  // namespace setup
