// The order file: one relative target path per line, in the installer's order, written with "\"
// between folders (data\log\a.log). Each names the file at the same relative path, with "/",
// inside the payload folder.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "format/resource_ids.h"
#include "problem.h"

namespace pack {

using setup::format::kMaxPayloadFiles;

struct PayloadEntry {
    std::string target;  // UTF-8, "\" between folders
    std::filesystem::path source;
    std::uint64_t size = 0;
    int line = 0;
};

struct PayloadOrder {
    std::vector<PayloadEntry> entries;
    Problems problems;
};

// Why a target path cannot be installed safely below the installation directory, or nothing:
// a drive, a leading "\", "..", "." or empty components, "/", characters Windows forbids in file
// names (and "*", which stands for "\" in the string table), blanks or a dot at a component's end,
// device names such as CON, NUL or COM1 with or without an extension.
std::optional<std::string> CheckTargetPath(std::string_view path);

// Parses and checks every line; blank lines are skipped. Each entry must name a readable regular
// file that lies in payload_dir also after its links are resolved. Compared like Windows does,
// ignoring letter case, no two may name the same file and no file may have a folder's name.
PayloadOrder ParseOrder(std::string_view text, const std::string& file_name,
                        const std::filesystem::path& payload_dir);

// Adds the entries of one folder to entries; the error that stopped the listing, if any.
using ListFolder = std::function<std::error_code(const std::filesystem::path&,
                                                 std::vector<std::filesystem::directory_entry>&)>;
std::error_code ListFolderOnDisk(const std::filesystem::path& folder,
                                 std::vector<std::filesystem::directory_entry>& entries);

// Files in payload_dir that no entry names: they would silently not be installed. A folder that
// cannot be read is reported in warnings and the search goes on, so the others are still checked.
std::vector<std::string> UnlistedFiles(const std::filesystem::path& payload_dir,
                                       const std::vector<PayloadEntry>& entries, Problems& warnings,
                                       const ListFolder& list = ListFolderOnDisk);

}  // namespace pack
