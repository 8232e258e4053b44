#include "doubles/memory_directories.h"

#include "platform/text.h"

namespace setup {

namespace {

bool EndsWithSeparator(std::string_view path) {
    return !path.empty() && text::FindLastChar(path, '\\') == path.size() - 1;
}

std::string WithoutTrailingSlash(std::string_view path) {
    if (path.size() > 3 && EndsWithSeparator(path)) path.remove_suffix(1);
    return std::string(path);
}

char DriveOf(std::string_view path) {
    return path.empty() ? '\0' : text::AsciiUpper(path.substr(0, 1))[0];
}

}  // namespace

std::string MemoryDirectories::Key(std::string_view path) {
    return text::AsciiUpper(WithoutTrailingSlash(path));
}

void MemoryDirectories::AddFolder(std::string_view path) {
    std::string full = WithoutTrailingSlash(path);
    if (full.size() == 2) full += '\\';
    folders_.emplace(Key(full), full);
    std::size_t cut = text::FindLastChar(full, '\\');
    if (full.size() > 3 && cut != std::string::npos) AddFolder(full.substr(0, cut < 3 ? 3 : cut));
}

bool MemoryDirectories::FolderExists(std::string_view path) const {
    return folders_.count(Key(path)) != 0;
}

bool MemoryDirectories::MakeFolder(std::string_view path) {
    std::string full = WithoutTrailingSlash(path);
    std::size_t cut = text::FindLastChar(full, '\\');
    if (cut == std::string::npos || refused_.count(Key(full)) || FolderExists(full)) return false;
    if (!FolderExists(full.substr(0, cut < 3 ? 3 : cut))) return false;
    AddFolder(full);
    return true;
}

std::vector<char> MemoryDirectories::DriveLetters() const {
    std::set<char> letters;
    for (const auto& entry : folders_) letters.insert(entry.first[0]);
    return {letters.begin(), letters.end()};
}

bool MemoryDirectories::ChangeDirectory(std::string_view path) {
    auto it = folders_.find(Key(path));
    if (it == folders_.end()) return false;
    current_ = it->second;
    drive_current_[DriveOf(current_)] = current_;
    return true;
}

std::string MemoryDirectories::DriveCurrentDirectory(char drive) const {
    char letter = text::AsciiUpper(std::string(1, drive))[0];
    auto it = drive_current_.find(letter);
    return it != drive_current_.end() ? it->second : std::string{letter, ':', '\\'};
}

std::vector<std::string> MemoryDirectories::Subfolders(std::string_view folder) const {
    std::string prefix = Key(folder);
    if (!EndsWithSeparator(prefix)) prefix += '\\';
    std::vector<std::string> names;
    for (const auto& [key, path] : folders_) {
        if (key.size() <= prefix.size() || key.compare(0, prefix.size(), prefix) != 0) continue;
        if (text::FindChar(std::string_view(key).substr(prefix.size()), '\\') != std::string::npos)
            continue;
        names.push_back(path.substr(prefix.size()));
    }
    return names;
}

}  // namespace setup
