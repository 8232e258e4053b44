// Processes through a Tool Help snapshot, OpenProcess and TerminateProcess; the holders of a file
// through the Restart Manager or the module lists; windows through the top-level window list.
#pragma once

#include "platform/processes.h"

namespace setup {

class Win32Processes final : public Processes {
public:
    std::vector<ProcessEntry> Snapshot() const override;
    std::vector<ProcessEntry> FileHolders(const std::string& path) const override;
    Result Terminate(std::uint32_t id) override;
    bool WaitForExit(std::span<const std::uint32_t> ids, unsigned timeout_ms) override;
    std::vector<std::string> TopLevelWindowTitles() const override;
};

}  // namespace setup
