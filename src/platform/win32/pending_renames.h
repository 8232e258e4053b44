// The files the system is to rename or delete at the next restart
// (Session Manager's PendingFileRenameOperations), as MoveFileEx with MOVEFILE_DELAY_UNTIL_REBOOT
// lists them.
#pragma once

#include <string>

namespace setup::win32 {

// Whether path (ANSI) is the source of an operation that waits for the restart: such a file must
// stay until then, whatever its name looks like.
bool WaitsForRestart(const std::string& path);

}  // namespace setup::win32
