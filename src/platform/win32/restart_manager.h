// The Restart Manager's answer to "which processes hold this file": the system's own record of
// open files and loaded modules. Loaded from the system folder when first asked; where it is
// missing or reports nothing (Wine), the answer is empty and the caller looks for itself.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace setup::win32 {

std::vector<std::uint32_t> RestartManagerHolders(const std::string& path);

}  // namespace setup::win32
