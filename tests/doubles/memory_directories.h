// A folder tree in memory for the directory chooser's tests. Paths compare without regard to ASCII
// case, as on Windows.
#pragma once

#include <map>
#include <set>
#include <string>

#include "platform/directories.h"

namespace setup {

class MemoryDirectories final : public Directories {
public:
    // Adds a folder and every missing parent; "D:\" adds the drive.
    void AddFolder(std::string_view path);
    // Folders that MakeFolder refuses to create.
    void Refuse(std::string_view path) { refused_.insert(Key(path)); }

    std::vector<char> DriveLetters() const override;
    std::string CurrentDirectory() const override { return current_; }
    bool ChangeDirectory(std::string_view path) override;
    std::string DriveCurrentDirectory(char drive) const override;
    std::vector<std::string> Subfolders(std::string_view folder) const override;
    bool FolderExists(std::string_view path) const override;
    bool MakeFolder(std::string_view path) override;

private:
    static std::string Key(std::string_view path);

    std::map<std::string, std::string> folders_;  // folded path -> path as added
    std::set<std::string> refused_;
    std::map<char, std::string> drive_current_;
    std::string current_ = "C:\\";
};

}  // namespace setup
