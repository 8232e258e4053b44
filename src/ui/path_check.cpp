#include "ui/path_check.h"

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

std::string Megabytes(std::uint64_t bytes) {
    return text::FixedPoint(static_cast<double>(bytes) / (1024.0 * 1024.0), 1) + " MB";
}

// Appends the levels one by one after the drive, creating each one that is missing. The result
// of a single create is not looked at: the final test decides.
std::string CreateLevels(FileSystem& files, std::string_view normalized) {
    std::vector<std::string> items;
    SplitText(normalized, '\\', &items);
    if (items.empty()) return {};
    const std::vector<std::string_view> levels(items.begin() + 1, items.end());
    return files.CreateLevels(items.front(), levels);
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

std::optional<InstallPaths> ValidateInstallPath(PathCheckView& view, FileSystem& files,
                                                const ProductStrings& strings,
                                                std::uint64_t needed) {
    std::string typed = view.EditDirText();
    if (typed.empty()) {
        view.ShowHint(kHintNeedDrive);
        return std::nullopt;
    }
    view.HideHint();
    std::string normalized = Normalize(typed);
    if (!HasDriveForm(normalized)) {
        view.ShowHint(kHintNeedDrive);
        return std::nullopt;
    }
    view.HideHint();
    view.SetEditDirText(normalized);
    if (HasForbiddenChar(normalized)) {
        view.ShowHint(kHintForbiddenChar);
        return std::nullopt;
    }
    if (auto free = files.FreeSpace(ExistingAncestor(files, normalized)); free && *free < needed) {
        view.ShowHint(NoSpaceHint(needed, *free));
        return std::nullopt;
    }
    view.HideHint();
    std::string rebuilt = CreateLevels(files, normalized);
    view.SetEditDirText(rebuilt);
    if (!files.DirectoryExists(rebuilt)) {
        // One more try on the whole path; only the test after it decides.
        (void)files.MakeDirectory(normalized);
        if (!files.DirectoryExists(normalized)) {
            view.ShowMessage(kMessageNoDirectory);
            return std::nullopt;
        }
    }
    return InstallPaths{rebuilt, normalized + '\\' + strings.MainExeName,
                        normalized + '\\' + strings.UninstallName};
}

}  // namespace setup
