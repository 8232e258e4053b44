// The programs that hold a payload file the placement could not write: split by whether they run
// from the installation folder (the product's own, which the installer may end) or from anywhere
// else (never ended: named in the log instead).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/processes.h"

namespace setup {

struct FileHolders {
    std::vector<ProcessEntry> inside;   // their program lies below the installation folder
    std::vector<ProcessEntry> outside;  // elsewhere, or where the system would not say
    bool empty() const { return inside.empty() && outside.empty(); }
};

// The name a question or message gives a program: its upper-cased file name with every ".EXE"
// removed, as the running-program guard has always named it.
std::string WithoutExe(std::string upper_name);

// Whether path lies below folder (ASCII case ignored; folder without a trailing backslash).
bool IsInsideFolder(std::string_view path, std::string_view folder);

// The holders of the file at path, as the platform finds them.
FileHolders FindFileHolders(const Processes& processes, const std::string& path,
                            std::string_view install_dir);

// Their executables' names, upper-cased without ".EXE", joined by "、", as the question names
// them: "TESSIKONE商贸版、RUDAVOVO".
std::string HolderNames(const std::vector<ProcessEntry>& holders);

// "name (path)" of each, joined by ", ": for the log.
std::string DescribeHolders(const std::vector<ProcessEntry>& holders);

// Ends each holder and waits for all of them to exit, within the bound; those that could not be
// ended are not waited for. True when every holder is gone.
[[nodiscard]] bool EndHolders(Processes& processes, const std::vector<ProcessEntry>& holders,
                unsigned timeout_ms);

}  // namespace setup
