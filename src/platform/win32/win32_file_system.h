// Files and folders through the Win32 file functions (ANSI names).
#pragma once

#include "platform/file_system.h"

namespace setup {

class Win32FileSystem final : public FileSystem {
public:
    bool FileExists(const std::string& path) const override;
    bool DirectoryExists(const std::string& path) const override;
    bool MakeDirectory(const std::string& path) override;
    WriteResult WriteFileBytes(const std::string& path,
                               std::span<const std::uint8_t> bytes) override;
};

}  // namespace setup
