// setup-pack --list: what an installer carries, read from the file itself, without Windows: its
// settings, its file list with the size of each entry framed and unpacked, and its other
// resources.
#pragma once

#include <filesystem>
#include <ostream>

namespace pack {

// Prints the listing; returns the exit code (1 with a message for a file that is no installer).
int ListInstaller(const std::filesystem::path& file, std::ostream& out, std::ostream& log);

}  // namespace pack
