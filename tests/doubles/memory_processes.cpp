#include "doubles/memory_processes.h"

#include <algorithm>

#include "platform/text.h"

namespace setup {

std::uint32_t MemoryProcesses::Launch(std::string exe, std::vector<std::string> window_titles,
                                      const std::vector<std::string>& held_files) {
    std::uint32_t id = next_id_;
    next_id_ += 4;
    std::size_t slash = exe.rfind('\\');
    std::string name = slash == std::string::npos ? exe : exe.substr(slash + 1);
    std::string path = slash == std::string::npos ? std::string() : exe;
    processes_[id] = {std::move(name), std::move(path), std::move(window_titles), State::Running};
    if (files_)
        for (const std::string& path : held_files) files_->Lock(path, id);
    return id;
}

bool MemoryProcesses::IsRunning(std::uint32_t id) const {
    auto it = processes_.find(id);
    return it != processes_.end() && it->second.state == State::Running;
}

void MemoryProcesses::Release(std::uint32_t id, Process& process) {
    process.state = State::Gone;
    if (files_) files_->ReleaseLocks(id);
}

std::vector<ProcessEntry> MemoryProcesses::Snapshot() const {
    std::vector<ProcessEntry> list;
    for (const auto& [id, process] : processes_)
        if (process.state == State::Running)
            list.push_back({id, process.exe_name, process.image_path});
    return list;
}

std::vector<ProcessEntry> MemoryProcesses::FileHolders(const std::string& path) const {
    std::vector<std::uint32_t> owners;
    if (files_) owners = files_->LockOwners(path);
    std::vector<ProcessEntry> holders;
    for (const ProcessEntry& process : Snapshot())
        if (text::EqualsIgnoreAsciiCase(process.image_path, path) ||
            std::find(owners.begin(), owners.end(), process.id) != owners.end())
            holders.push_back(process);
    return holders;
}

Result MemoryProcesses::Terminate(std::uint32_t id) {
    constexpr std::uint32_t kInvalidParameter = 87;  // no such process
    constexpr std::uint32_t kAccessDenied = 5;
    if (std::find(refused_.begin(), refused_.end(), id) != refused_.end())
        return Result::Failed(kAccessDenied);
    auto it = processes_.find(id);
    if (it == processes_.end() || it->second.state != State::Running)
        return Result::Failed(kInvalidParameter);
    terminated_.push_back(id);
    it->second.state = State::Exiting;
    if (!slow_exit_) Release(id, it->second);
    return Result::Ok();
}

bool MemoryProcesses::WaitForExit(std::span<const std::uint32_t> ids, unsigned) {
    bool all_gone = true;
    for (std::uint32_t id : ids) {
        auto it = processes_.find(id);
        if (it == processes_.end()) continue;
        if (it->second.state == State::Running)
            all_gone = false;
        else
            Release(id, it->second);
    }
    return all_gone;
}

std::vector<std::string> MemoryProcesses::TopLevelWindowTitles() const {
    std::vector<std::string> titles;
    for (const auto& [id, process] : processes_)
        if (process.state == State::Running)
            for (const std::string& title : process.windows)
                if (!title.empty()) titles.push_back(title);
    for (const std::string& title : loose_windows_)
        if (!title.empty()) titles.push_back(title);
    return titles;
}

}  // namespace setup
