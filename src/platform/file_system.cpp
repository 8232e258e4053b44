#include "platform/file_system.h"

#include "platform/text.h"

namespace setup {

bool IsWriteLeftover(std::string_view file_name) {
    const std::string_view prefix = kWriteTempPrefix, extension = kTempExtension;
    return file_name.size() > prefix.size() + extension.size() &&
           text::EqualsIgnoreAsciiCase(file_name.substr(0, prefix.size()), prefix) &&
           text::EqualsIgnoreAsciiCase(file_name.substr(file_name.size() - extension.size()),
                                       extension);
}

Result FileSystem::WriteFileBytes(const std::string& path, std::span<const std::uint8_t> bytes) {
    return WriteWholeFile(path, [bytes](const ByteSink& sink) { sink(bytes); });
}

std::string FileSystem::CreateLevels(std::string path,
                                     std::span<const std::string_view> components) {
    for (std::string_view component : components) {
        path += '\\';
        path += component;
        // A failed create shows up when the caller uses the folder.
        if (!DirectoryExists(path)) (void)MakeDirectory(path);
    }
    return path;
}

bool FileSystem::ForceDirectories(std::string_view path) {
    while (!path.empty() && text::FindLastChar(path, '\\') == path.size() - 1)
        path.remove_suffix(1);
    if (path.empty()) return false;
    // What is never created: "C:" of a drive path, "\\server\share" of a network path.
    std::size_t root_end = text::FindChar(path, '\\');
    if (path.starts_with("\\\\")) {
        root_end = text::FindChar(path, '\\', 2);
        if (root_end != std::string_view::npos) root_end = text::FindChar(path, '\\', root_end + 1);
    }
    if (root_end == std::string_view::npos) return DirectoryExists(std::string(path));
    // A run of separators makes no level of its own.
    std::vector<std::string_view> components;
    for (std::string_view part : text::Split(path.substr(root_end + 1), '\\'))
        if (!part.empty()) components.push_back(part);
    CreateLevels(std::string(path.substr(0, root_end)), components);
    return DirectoryExists(std::string(path));
}

}  // namespace setup
