#include "install/payload_footprint.h"

#include <optional>
#include <set>

#include "format/target_path.h"
#include "platform/text.h"

namespace setup {

namespace {

// The folder names of one entry (its file name left out), trimmed as the run trims them; nothing
// when any name of the entry breaks the rules, as the run then makes no folder for it.
std::optional<std::vector<std::string>> FolderNames(std::string_view entry) {
    std::vector<std::string_view> parts = text::Split(entry, format::kPathSeparator);
    for (std::string_view& part : parts) {
        part = text::Trim(part);
        if (format::TargetComponentProblem(part)) return std::nullopt;
    }
    parts.pop_back();
    return std::vector<std::string>(parts.begin(), parts.end());
}

}  // namespace

std::uint64_t PayloadFootprint::OnVolume(std::uint64_t cluster) const {
    std::uint64_t total = 0;
    for (std::uint64_t bytes : file_bytes)
        total += cluster ? (bytes + cluster - 1) / cluster * cluster : bytes;
    return total + folders * cluster;
}

std::vector<std::string> PayloadFolders(const std::vector<std::string>& list) {
    std::vector<std::string> folders = {""};
    std::set<std::string> seen = {""};
    for (const std::string& entry : list) {
        const auto names = FolderNames(entry);
        if (!names) continue;
        std::string folder;
        for (const std::string& name : *names) {
            folder += folder.empty() ? name : "\\" + name;
            if (seen.insert(text::AsciiUpper(folder)).second) folders.push_back(folder);
        }
    }
    return folders;
}

void RemoveWriteLeftovers(FileSystem& files, const std::string& install_dir,
                          const std::vector<std::string>& folders) {
    for (const std::string& folder : folders) {
        const std::string path = folder.empty() ? install_dir : install_dir + "\\" + folder;
        // What was removed goes to the log through the logging file system.
        if (files.DirectoryExists(path)) files.RemoveWriteLeftovers(path);
    }
}

}  // namespace setup
