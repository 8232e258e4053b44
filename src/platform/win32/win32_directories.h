// Folders through the Win32 file functions.
#pragma once

#include "platform/directories.h"

namespace setup {

class Win32Directories final : public Directories {
public:
    std::vector<char> DriveLetters() const override;
    std::string CurrentDirectory() const override;
    bool ChangeDirectory(std::string_view path) override;
    std::string DriveCurrentDirectory(char drive) const override;
    std::vector<std::string> Subfolders(std::string_view folder) const override;
    bool FolderExists(std::string_view path) const override;
    bool MakeFolder(std::string_view path) override;
};

}  // namespace setup
