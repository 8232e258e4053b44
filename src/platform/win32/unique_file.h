// New files of names that nothing had: a file or link already at a name is never opened, so a
// link planted where the installer writes cannot send its bytes elsewhere.
#pragma once

#include <string>

#include "platform/win32/handles.h"

namespace setup::win32 {

struct NewFile {
    UniqueHandle handle;  // opened for writing; none on failure
    std::string path;     // the name it was given
    DWORD error = 0;      // why it could not be made
};

// Creates folder\<prefix><process id>-<n><suffix> with CREATE_NEW, taking the next n while a
// name is taken (by a file, a folder or a link). share is CreateFile's share mode.
NewFile CreateUniqueFile(const std::string& folder, const std::string& prefix,
                         const std::string& suffix, DWORD share);

}  // namespace setup::win32
