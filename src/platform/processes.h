// Running programs: the process list with executable names, the processes that hold a file,
// ending and awaiting a process, and the titles of the top-level windows.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/error.h"

namespace setup {

struct ProcessEntry {
    std::uint32_t id = 0;
    std::string exe_name;    // the executable's file name, as the process snapshot gives it
    std::string image_path;  // the executable's full path; "" when the platform cannot tell
};

class Processes {
public:
    virtual ~Processes() = default;

    // Every running process; empty where the platform offers no snapshot.
    virtual std::vector<ProcessEntry> Snapshot() const = 0;
    // The processes that hold the file at path: run it as their program, have it loaded as a
    // module or keep it open, as far as the platform can tell. The installer's own process is
    // never among them.
    virtual std::vector<ProcessEntry> FileHolders(const std::string& path) const = 0;
    // Ends the process with exit code 0; fails when it could not be opened or ended.
    virtual Result Terminate(std::uint32_t id) = 0;
    // Waits until all the processes are gone, at most timeout_ms in all; true when they are.
    [[nodiscard]] virtual bool WaitForExit(std::span<const std::uint32_t> ids,
                                           unsigned timeout_ms) = 0;
    // Non-empty titles of all top-level windows (hidden ones too) in the window manager's order,
    // each at most 254 bytes.
    virtual std::vector<std::string> TopLevelWindowTitles() const = 0;
};

}  // namespace setup
