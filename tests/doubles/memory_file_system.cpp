#include "doubles/memory_file_system.h"

#include "platform/text.h"

namespace setup {

std::string MemoryFileSystem::Key(std::string_view path) {
    while (!path.empty() && text::FindLastChar(path, '\\') == path.size() - 1)
        path.remove_suffix(1);
    return text::AsciiUpper(path);
}

// "" for a name without a folder part: drive roots and bare names have no parent to check.
std::string MemoryFileSystem::ParentKey(const std::string& key) {
    std::size_t at = text::FindLastChar(key, '\\');
    return at == std::string::npos ? std::string() : key.substr(0, at);
}

// The last component must be a name the platform accepts.
bool MemoryFileSystem::ValidName(const std::string& key) {
    std::size_t at = text::FindLastChar(key, '\\');
    if (at == std::string::npos) return false;
    std::string_view name = std::string_view(key).substr(at + 1);
    if (name.empty()) return false;
    for (char c : std::string_view("/:*?\"<>|"))
        if (text::FindChar(name, c) != std::string_view::npos) return false;
    return true;
}

void MemoryFileSystem::AddDirectory(std::string_view path) {
    for (std::string key = Key(path); !key.empty(); key = ParentKey(key)) directories_.insert(key);
}

void MemoryFileSystem::AddFile(std::string_view path, std::vector<std::uint8_t> bytes) {
    std::string key = Key(path);
    AddDirectory(ParentKey(key));
    files_[key] = std::move(bytes);
}

void MemoryFileSystem::Lock(std::string_view path, std::uint32_t owner) {
    locks_.emplace(Key(path), owner);
}

void MemoryFileSystem::ReleaseLocks(std::uint32_t owner) {
    std::erase_if(locks_, [owner](const auto& lock) { return lock.second == owner; });
}

void MemoryFileSystem::Refuse(std::string_view path) {
    refused_.insert(Key(path));
}

std::optional<std::vector<std::uint8_t>> MemoryFileSystem::FileBytes(std::string_view path) const {
    auto it = files_.find(Key(path));
    if (it == files_.end()) return std::nullopt;
    return it->second;
}

bool MemoryFileSystem::FileExists(const std::string& path) const {
    return files_.contains(Key(path));
}

bool MemoryFileSystem::DirectoryExists(const std::string& path) const {
    return directories_.contains(Key(path));
}

bool MemoryFileSystem::MakeDirectory(const std::string& path) {
    std::string key = Key(path);
    if (!ValidName(key) || refused_.contains(key) || directories_.contains(key) ||
        files_.contains(key) || !directories_.contains(ParentKey(key)))
        return false;
    directories_.insert(key);
    created_.push_back(path);
    return true;
}

void MemoryFileSystem::SetFreeSpace(char drive, std::uint64_t bytes) {
    free_space_[text::AsciiUpper(std::string(1, drive))[0]] = bytes;
}

WriteResult MemoryFileSystem::WriteWholeFile(const std::string& path, const ContentSource& source) {
    std::string key = Key(path);
    if (!ValidName(key)) return {false, kErrorInvalidName};
    if (!directories_.contains(ParentKey(key))) return {false, kErrorPathNotFound};
    auto space = free_space_.find(key[0]);
    std::vector<std::uint8_t> content;
    bool full = false;
    source([&](Bytes chunk) {
        if (space != free_space_.end() && content.size() + chunk.size() > space->second) {
            full = true;
            return false;
        }
        content.insert(content.end(), chunk.begin(), chunk.end());
        return true;
    });
    if (full) return {false, kErrorDiskFull};
    // A running program's file refuses the move, as a folder or a refused name does.
    if (directories_.contains(key) || refused_.contains(key)) return {false, kErrorAccessDenied};
    if (locks_.contains(key)) return {false, kErrorAccessDenied};
    if (space != free_space_.end()) space->second -= content.size();
    files_[key] = std::move(content);
    written_.push_back(path);
    return {true, 0};
}

std::optional<std::uint64_t> MemoryFileSystem::FreeSpace(const std::string& path) const {
    std::string key = Key(path);
    auto space = key.empty() ? free_space_.end() : free_space_.find(key[0]);
    if (space == free_space_.end() || !directories_.contains(key)) return std::nullopt;
    return space->second;
}

bool MemoryFileSystem::IsFixedDrive(char letter) const {
    char drive = text::AsciiUpper(std::string(1, letter))[0];
    return !removable_.contains(drive) && directories_.contains(std::string{drive, ':'});
}

}  // namespace setup
