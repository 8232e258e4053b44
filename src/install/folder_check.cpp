#include "install/folder_check.h"

#include "platform/text.h"

namespace setup {

namespace {

bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Collapses every run of backslashes into one and drops one trailing backslash. Goes by
// characters: the second byte of a double-byte character may be 0x5C and is part of the name.
std::string Normalize(std::string_view typed) {
    std::string out;
    bool previous_backslash = false;
    bool last_backslash = false;
    for (std::size_t i = 0; i < typed.size();) {
        std::size_t length = text::CharLength(typed, i);
        bool backslash = length == 1 && typed[i] == '\\';
        if (!(backslash && previous_backslash)) {
            out.append(typed.substr(i, length));
            last_backslash = backslash;
        }
        previous_backslash = backslash;
        i += length;
    }
    if (last_backslash) out.pop_back();
    return out;
}

// A drive letter, a colon and a backslash at the start. The first byte is ASCII, so the bytes
// after it are whole characters.
bool HasDriveForm(std::string_view path) {
    return path.size() >= 3 && IsAsciiLetter(path[0]) && path[1] == ':' && path[2] == '\\';
}

// The colon is listed in the hint and is refused after the drive too: a name with a colon is no
// folder name, and letting it through only led to the misleading "该目录不存在！".
bool HasForbiddenChar(std::string_view path) {
    for (char c : std::string_view("/*?\"<>|"))
        if (text::FindChar(path, c) != std::string_view::npos) return true;
    return text::FindChar(path, ':', 2) != std::string_view::npos;
}

// The folder the system will really use: ".." applied and the dots that names lose dropped, so
// the files, the space asked and the records all name the same folder. Without the one trailing
// backslash the system keeps (a text that resolves to a drive root keeps none).
std::string Resolved(const FileSystem& files, const std::string& normalized) {
    std::string full = files.FullPath(normalized);
    if (!full.empty() && text::FindLastChar(full, '\\') == full.size() - 1) full.pop_back();
    return full;
}

// The deepest folder of path that exists already: where the free space is asked.
std::string ExistingAncestor(const FileSystem& files, std::string path) {
    while (!files.DirectoryExists(path)) {
        std::size_t at = text::FindLastChar(path, '\\');
        if (at == std::string::npos) return path;
        path.resize(at <= 2 ? 3 : at);  // "C:\" is the last one to ask
        if (at <= 2) return path;
    }
    return path;
}

bool IsInside(std::string_view path, std::string_view folder) {
    const std::string upper = text::AsciiUpper(path), prefix = text::AsciiUpper(folder);
    return !prefix.empty() && upper.starts_with(prefix) &&
           (upper.size() == prefix.size() || upper[prefix.size()] == '\\');
}

// The system's own folders already keep ordinary users out; a folder made inside them inherits
// that, anywhere else it gets a descriptor of its own.
bool NeedsOwnProtection(const FileSystem& files, std::string_view path) {
    for (const std::string& folder : files.SystemFolders())
        if (IsInside(path, folder)) return false;
    return true;
}

std::string Megabytes(std::uint64_t bytes) {
    return text::FixedPoint(static_cast<double>(bytes) / (1024.0 * 1024.0), 1) + " MB";
}

struct Levels {
    std::string path;      // the drive and every level appended
    bool existed = false;  // whether the last level was there before
};

// Appends the levels one by one after the drive, creating each one that is missing. The result
// of a single create is not looked at: the final test decides.
Levels CreateLevels(FileSystem& files, std::string_view full, bool protect) {
    std::vector<std::string> items;
    SplitText(full, '\\', &items);
    Levels levels;
    if (items.empty()) return levels;
    levels.path = items.front();
    for (std::size_t i = 1; i < items.size(); ++i) {
        levels.path += '\\';
        levels.path += items[i];
        levels.existed = files.DirectoryExists(levels.path);
        if (!levels.existed)
            (void)(protect ? files.MakeProtectedDirectory(levels.path)
                           : files.MakeDirectory(levels.path));
    }
    return levels;
}

FolderCheckResult Refused(FolderCheckResult result, std::string hint) {
    result.hint = std::move(hint);
    return result;
}

}  // namespace

std::string NoSpaceHint(std::uint64_t needed, std::uint64_t free) {
    std::string hint = "磁盘空间不足！安装需要 ";
    return hint.append(Megabytes(needed))
        .append("，\r\n该磁盘只有 ")
        .append(Megabytes(free))
        .append(" 可用。");
}

void SplitText(std::string_view text, char sep, std::vector<std::string>* list) {
    if (!list) return;
    list->clear();
    if (text::Trim(text).empty()) return;
    for (std::string_view item : text::Split(text, sep)) list->emplace_back(item);
}

FolderCheckResult CheckInstallFolder(FileSystem& files, const ProductStrings& strings,
                                     std::string_view typed, const PayloadFootprint& needed) {
    FolderCheckResult result;
    result.shown = typed;
    const std::string normalized = Normalize(typed);
    if (!HasDriveForm(normalized)) return Refused(std::move(result), kHintNeedDrive);
    result.shown = normalized;
    if (HasForbiddenChar(normalized)) return Refused(std::move(result), kHintForbiddenChar);
    // "C:\.." is a drive root again.
    const std::string full = Resolved(files, normalized);
    if (!HasDriveForm(full)) return Refused(std::move(result), kHintNeedDrive);
    result.shown = full;
    const std::string ancestor = ExistingAncestor(files, full);
    const std::uint64_t need = needed.OnVolume(files.ClusterSize(ancestor).value_or(0));
    if (auto free = files.FreeSpace(ancestor); free && *free < need) {
        result.no_space = true;
        return Refused(std::move(result), NoSpaceHint(need, *free));
    }
    const bool protect = NeedsOwnProtection(files, full);
    const Levels levels = CreateLevels(files, full, protect);
    result.shown = levels.path;
    if (!files.DirectoryExists(levels.path)) {
        // One more try on the whole path; only the test after it decides.
        (void)(protect ? files.MakeProtectedDirectory(full) : files.MakeDirectory(full));
        if (!files.DirectoryExists(full)) {
            result.message = kMessageNoDirectory;
            return result;
        }
    }
    // A folder that was there keeps its permissions; the (logging) file system warns when they
    // let ordinary users change the programs that are installed into it.
    if (levels.existed) files.LetsUsersWrite(levels.path);
    if (!files.ProbeWrite(levels.path)) return Refused(std::move(result), kHintCannotWrite);
    result.accepted = InstallPaths{levels.path, full + '\\' + strings.MainExeName,
                                   full + '\\' + strings.UninstallName};
    return result;
}

}  // namespace setup
