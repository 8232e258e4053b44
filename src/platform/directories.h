// Folders as the directory chooser walks them: the drives, the process's current directory with
// the current directory the system keeps for each drive, and the folders inside a folder.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace setup {

class Directories {
public:
    virtual ~Directories() = default;

    // Upper-case letters of the drives that exist, in order.
    virtual std::vector<char> DriveLetters() const = 0;

    // As the system reports it: "C:\" for a root, "C:\A\B" for any other folder.
    virtual std::string CurrentDirectory() const = 0;

    // Makes path the process's current directory and its drive's current directory.
    virtual bool ChangeDirectory(std::string_view path) = 0;

    // The current directory the system keeps for a drive, its root when none was set.
    virtual std::string DriveCurrentDirectory(char drive) const = 0;

    // Names of the folders directly inside folder, in the order a folder list shows them.
    virtual std::vector<std::string> Subfolders(std::string_view folder) const = 0;

    // The name exists and is a folder.
    virtual bool FolderExists(std::string_view path) const = 0;
    // Creates one folder whose parent exists.
    virtual bool MakeFolder(std::string_view path) = 0;
};

}  // namespace setup
