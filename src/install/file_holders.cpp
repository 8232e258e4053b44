#include "install/file_holders.h"

#include "platform/text.h"

namespace setup {

std::string WithoutExe(std::string upper_name) {
    constexpr std::string_view kExe = ".EXE";
    for (std::size_t at; (at = upper_name.find(kExe)) != std::string::npos;)
        upper_name.erase(at, kExe.size());
    return upper_name;
}

bool IsInsideFolder(std::string_view path, std::string_view folder) {
    if (folder.empty() || path.size() <= folder.size() + 1) return false;
    return text::EqualsIgnoreAsciiCase(path.substr(0, folder.size()), folder) &&
           path[folder.size()] == '\\';
}

FileHolders FindFileHolders(const Processes& processes, const std::string& path,
                            std::string_view install_dir) {
    FileHolders holders;
    for (ProcessEntry& process : processes.FileHolders(path)) {
        // A process whose program the system would not name cannot be shown to lie inside.
        auto& side = IsInsideFolder(process.image_path, install_dir) ? holders.inside
                                                                     : holders.outside;
        side.push_back(std::move(process));
    }
    return holders;
}

std::string HolderNames(const std::vector<ProcessEntry>& holders) {
    std::string names;
    for (const ProcessEntry& process : holders) {
        std::string name = WithoutExe(text::AsciiUpper(process.exe_name));
        if (names.find(name) != std::string::npos) continue;  // two copies of one program
        if (!names.empty()) names += "、";
        names += name;
    }
    return names;
}

std::string DescribeHolders(const std::vector<ProcessEntry>& holders) {
    std::string text;
    for (const ProcessEntry& process : holders) {
        if (!text.empty()) text += ", ";
        text += process.exe_name;
        text += " (" + (process.image_path.empty() ? "?" : process.image_path) + ")";
    }
    return text;
}

bool EndHolders(Processes& processes, const std::vector<ProcessEntry>& holders,
                unsigned timeout_ms) {
    std::vector<std::uint32_t> ended;
    bool all = true;
    for (const ProcessEntry& process : holders) {
        if (processes.Terminate(process.id))
            ended.push_back(process.id);
        else
            all = false;  // it may have exited meanwhile: the write that follows finds out
    }
    return processes.WaitForExit(ended, timeout_ms) && all;
}

}  // namespace setup
