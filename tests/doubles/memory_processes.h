// In-memory processes and windows for the native tests. A process has an executable name, window
// titles and files it holds open (locked in a MemoryFileSystem). An ended process leaves the list
// and its windows close at once; with a slow exit it lets go of its files only once somebody has
// waited for it, as a real program can still hold them for a moment after it was ended.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "doubles/memory_file_system.h"
#include "platform/processes.h"

namespace setup {

class MemoryProcesses final : public Processes {
public:
    explicit MemoryProcesses(MemoryFileSystem* files = nullptr) : files_(files) {}

    // exe is the executable's file name, or its full path (then the snapshot knows the path).
    std::uint32_t Launch(std::string exe, std::vector<std::string> window_titles = {},
                         const std::vector<std::string>& held_files = {});
    // A top-level window that belongs to no listed process.
    void AddWindow(std::string title) { loose_windows_.push_back(std::move(title)); }
    void SetSlowExit(bool slow) { slow_exit_ = slow; }
    // Terminate fails for this process with access denied, as for one of another user.
    void RefuseTermination(std::uint32_t id) { refused_.push_back(id); }

    bool IsRunning(std::uint32_t id) const;
    // Ids ended through Terminate, in order.
    const std::vector<std::uint32_t>& Terminated() const { return terminated_; }

    std::vector<ProcessEntry> Snapshot() const override;
    // Those running the file as their program, and those holding it in the file system.
    std::vector<ProcessEntry> FileHolders(const std::string& path) const override;
    Result Terminate(std::uint32_t id) override;
    bool WaitForExit(std::span<const std::uint32_t> ids, unsigned timeout_ms) override;
    std::vector<std::string> TopLevelWindowTitles() const override;

private:
    enum class State { Running, Exiting, Gone };
    struct Process {
        std::string exe_name, image_path;
        std::vector<std::string> windows;
        State state = State::Running;
    };
    void Release(std::uint32_t id, Process& process);

    MemoryFileSystem* files_;
    std::map<std::uint32_t, Process> processes_;
    std::vector<std::string> loose_windows_;
    std::vector<std::uint32_t> terminated_;
    std::vector<std::uint32_t> refused_;
    std::uint32_t next_id_ = 100;
    bool slow_exit_ = false;
};

}  // namespace setup
