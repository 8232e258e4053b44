// Where a payload entry goes below the installation directory.
#pragma once

#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace setup {

// Joins the relative path of a payload entry to install_dir, component by component, and creates
// each missing folder on the way (one level at a time; a failed create shows up when the file is
// written). Components lose codes 0 to 32 at their ends. Returns the file's full path.
// An entry that breaks the rules for a target path (format/target_path.h: "..", a drive, ":" or
// "/", an empty component such as a leading "\", a device name, a trailing dot) throws
// RuntimeError before anything is created: it could lead out of install_dir, or land elsewhere.
std::string MakeTargetPath(FileSystem& files, std::string_view install_dir,
                           std::string_view relative);

}  // namespace setup
