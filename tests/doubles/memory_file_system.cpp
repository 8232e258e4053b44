#include "doubles/memory_file_system.h"

#include "platform/text.h"

namespace setup {

namespace {

char Drive(std::string_view path) {
    return path.empty() ? '\0' : text::AsciiUpper(path.substr(0, 1))[0];
}

}  // namespace

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

std::string MemoryFileSystem::Reported(const std::string& key) const {
    auto it = directories_.find(key);
    std::string path = it == directories_.end() ? key : it->second;
    while (!path.empty() && text::FindLastChar(path, '\\') == path.size() - 1) path.pop_back();
    if (path.size() == 2 && path[1] == ':') path += '\\';
    return path;
}

void MemoryFileSystem::AddDirectory(std::string_view path) {
    while (!path.empty() && text::FindLastChar(path, '\\') == path.size() - 1)
        path.remove_suffix(1);
    for (std::string key = Key(path); !key.empty(); key = ParentKey(key)) {
        directories_.emplace(key, std::string(path.substr(0, key.size())));
    }
}

void MemoryFileSystem::AddFile(std::string_view path, std::vector<std::uint8_t> bytes) {
    std::string key = Key(path);
    AddDirectory(std::string_view(path).substr(0, ParentKey(key).size()));
    files_[key] = std::move(bytes);
}

void MemoryFileSystem::Lock(std::string_view path, std::uint32_t owner) {
    locks_.emplace(Key(path), owner);
}

void MemoryFileSystem::ReleaseLocks(std::uint32_t owner) {
    std::erase_if(locks_, [owner](const auto& lock) { return lock.second == owner; });
}

std::vector<std::uint32_t> MemoryFileSystem::LockOwners(std::string_view path) const {
    std::vector<std::uint32_t> owners;
    auto [from, to] = locks_.equal_range(Key(path));
    for (auto it = from; it != to; ++it) owners.push_back(it->second);
    return owners;
}

void MemoryFileSystem::Refuse(std::string_view path) {
    refused_.insert(Key(path));
}

void MemoryFileSystem::SetFreeSpace(char drive, std::uint64_t bytes) {
    free_space_[Drive(std::string(1, drive))] = bytes;
}

void MemoryFileSystem::SetClusterSize(char drive, std::uint64_t bytes) {
    cluster_size_[Drive(std::string(1, drive))] = bytes;
}

void MemoryFileSystem::RefuseFilesIn(std::string_view folder) {
    refused_folders_.insert(Key(folder));
}

void MemoryFileSystem::OpenToUsers(std::string_view folder) {
    open_to_users_.insert(Key(folder));
}

std::optional<std::vector<std::uint8_t>> MemoryFileSystem::FileBytes(std::string_view path) const {
    auto it = files_.find(Key(path));
    if (it == files_.end()) return std::nullopt;
    return it->second;
}

std::vector<std::string> MemoryFileSystem::FileNamesIn(std::string_view folder) const {
    const std::string parent = Key(folder);
    std::vector<std::string> names;
    for (const auto& [key, bytes] : files_)
        if (ParentKey(key) == parent) names.push_back(key.substr(parent.size() + 1));
    return names;
}

bool MemoryFileSystem::FileExists(const std::string& path) const {
    return files_.contains(Key(path));
}

bool MemoryFileSystem::DirectoryExists(const std::string& path) const {
    return directories_.contains(Key(path));
}

Result MemoryFileSystem::MakeDirectory(const std::string& path) {
    std::string key = Key(path);
    if (!ValidName(key) || refused_.contains(key)) return Result::Failed(kErrorAccessDenied);
    if (directories_.contains(key) || files_.contains(key))
        return Result::Failed(kErrorAlreadyExists);
    if (!directories_.contains(ParentKey(key))) return Result::Failed(kErrorPathNotFound);
    directories_.emplace(key, path);
    created_.push_back(path);
    return Result::Ok();
}

Result MemoryFileSystem::MakeProtectedDirectory(const std::string& path) {
    Result made = MakeDirectory(path);
    if (made) protected_.push_back(path);
    return made;
}

std::optional<std::vector<std::uint8_t>> MemoryFileSystem::Gather(const std::string& key,
                                                                  const ContentSource& source,
                                                                  Result& failure,
                                                                  const char* prefix) {
    if (!ValidName(key)) {
        failure = Result::Failed(kErrorInvalidName);
        return std::nullopt;
    }
    if (!directories_.contains(ParentKey(key))) {
        failure = Result::Failed(kErrorPathNotFound);
        return std::nullopt;
    }
    // The temporary file cannot be made there.
    if (refused_folders_.contains(ParentKey(key))) {
        failure = Result::Failed(kErrorAccessDenied);
        return std::nullopt;
    }
    // The temporary the platform writes to, there while the source runs.
    const std::string temp = ParentKey(key) + "\\" + text::AsciiUpper(prefix) +
                             std::to_string(++temporaries_made_) + text::AsciiUpper(kTempExtension);
    files_[temp];
    struct Remove {
        std::map<std::string, std::vector<std::uint8_t>>& files;
        const std::string& temp;
        ~Remove() { files.erase(temp); }
    } remove{files_, temp};
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
    if (full) {
        failure = Result::Failed(kErrorDiskFull);
        return std::nullopt;
    }
    if (space != free_space_.end()) space->second -= content.size();
    return content;
}

Result MemoryFileSystem::WriteWholeFile(const std::string& path, const ContentSource& source) {
    std::string key = Key(path);
    Result failure = Result::Ok();
    std::optional<std::vector<std::uint8_t>> content =
        Gather(key, source, failure, kWriteTempPrefix);
    if (!content) return failure;
    // A running program's file refuses the move, as a folder or a refused name does.
    if (directories_.contains(key) || refused_.contains(key) || locks_.contains(key)) {
        if (auto space = free_space_.find(key[0]); space != free_space_.end())
            space->second += content->size();
        return Result::Failed(kErrorAccessDenied);
    }
    files_[key] = std::move(*content);
    written_.push_back(path);
    return Result::Ok();
}

Result MemoryFileSystem::ReplaceAtRestart(const std::string& path, const ContentSource& source) {
    std::string key = Key(path);
    if (directories_.contains(key) || refused_.contains(key) || restart_refused_)
        return Result::Failed(kErrorAccessDenied);
    Result failure = Result::Ok();
    std::optional<std::vector<std::uint8_t>> content =
        Gather(key, source, failure, kRestartCopyPrefix);
    if (!content) return failure;
    pending_.push_back({path, std::move(*content)});
    return Result::Ok();
}

void MemoryFileSystem::Restart() {
    for (PendingReplacement& replacement : pending_)
        files_[Key(replacement.path)] = std::move(replacement.bytes);
    pending_.clear();
    locks_.clear();
}

std::vector<std::string> MemoryFileSystem::RemoveWriteLeftovers(const std::string& folder) {
    const std::string parent = Key(folder);
    std::vector<std::string> removed;
    for (auto it = files_.begin(); it != files_.end();) {
        const std::string& key = it->first;
        if (ParentKey(key) == parent && IsWriteLeftover(key.substr(parent.size() + 1))) {
            removed.push_back(folder + key.substr(parent.size()));
            it = files_.erase(it);
        } else {
            ++it;
        }
    }
    return removed;
}

Result MemoryFileSystem::ProbeWrite(const std::string& folder) {
    const std::string key = Key(folder);
    if (!directories_.contains(key)) return Result::Failed(kErrorPathNotFound);
    if (refused_folders_.contains(key)) return Result::Failed(kErrorAccessDenied);
    return Result::Ok();
}

std::string MemoryFileSystem::FullPath(const std::string& path) const {
    if (path.size() < 3 || path[1] != ':' || path[2] != '\\') return path;
    std::vector<std::string> names;
    const auto parts = text::Split(std::string_view(path).substr(3), '\\');
    for (std::size_t i = 0; i < parts.size(); ++i) {
        std::string name(parts[i]);
        if (name.empty() || name == ".") continue;
        if (name == "..") {
            if (!names.empty()) names.pop_back();
            continue;
        }
        if (i + 1 < parts.size()) {
            if (name.back() == '.') name.pop_back();
        } else {
            while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
        }
        names.push_back(std::move(name));
    }
    std::string full = path.substr(0, 3);
    for (std::size_t i = 0; i < names.size(); ++i) full += (i ? "\\" : "") + names[i];
    // A separator at the end stays, as the system keeps it.
    if (path.back() == '\\' && full.back() != '\\') full += '\\';
    return full;
}

bool MemoryFileSystem::LetsUsersWrite(const std::string& folder) const {
    return open_to_users_.contains(Key(folder));
}

std::optional<std::uint64_t> MemoryFileSystem::ClusterSize(const std::string& path) const {
    auto size = cluster_size_.find(Drive(path));
    if (size == cluster_size_.end()) return std::nullopt;
    return size->second;
}

std::optional<std::uint64_t> MemoryFileSystem::FreeSpace(const std::string& path) const {
    std::string key = Key(path);
    auto space = key.empty() ? free_space_.end() : free_space_.find(key[0]);
    if (space == free_space_.end() || !directories_.contains(key)) return std::nullopt;
    return space->second;
}

bool MemoryFileSystem::IsFixedDrive(char letter) const {
    char drive = Drive(std::string(1, letter));
    return !removable_.contains(drive) && directories_.contains(std::string{drive, ':'});
}

std::vector<char> MemoryFileSystem::DriveLetters() const {
    std::set<char> letters;
    for (const auto& entry : directories_)
        if (entry.first.size() == 2 && entry.first[1] == ':') letters.insert(entry.first[0]);
    return {letters.begin(), letters.end()};
}

Result MemoryFileSystem::ChangeDirectory(std::string_view path) {
    const std::string key = Key(path);
    if (!directories_.contains(key)) return Result::Failed(kErrorPathNotFound);
    current_ = Reported(key);
    drive_current_[Drive(current_)] = current_;
    return Result::Ok();
}

std::string MemoryFileSystem::DriveCurrentDirectory(char drive) const {
    char letter = Drive(std::string(1, drive));
    auto it = drive_current_.find(letter);
    return it != drive_current_.end() ? it->second : std::string{letter, ':', '\\'};
}

std::vector<std::string> MemoryFileSystem::Subfolders(std::string_view folder) const {
    const std::string prefix = Key(folder) + '\\';
    std::vector<std::string> names;
    for (const auto& [key, path] : directories_) {
        if (key.size() <= prefix.size() || key.compare(0, prefix.size(), prefix) != 0) continue;
        if (text::FindChar(std::string_view(key).substr(prefix.size()), '\\') != std::string::npos)
            continue;
        names.push_back(path.substr(prefix.size()));
    }
    return names;
}

}  // namespace setup
