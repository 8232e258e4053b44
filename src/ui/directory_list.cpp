#include "ui/directory_list.h"

#include "platform/text.h"

namespace setup {

namespace {

bool EndsWithBackslash(std::string_view path) {
    return !path.empty() && text::FindLastChar(path, '\\') == path.size() - 1;
}

std::string Join(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (!EndsWithBackslash(path)) path += '\\';
    return path.append(name);
}

}  // namespace

std::string DirectoryList::PathOfItem(int index) const {
    if (index < 0 || index >= static_cast<int>(items_.size())) return {};
    if (index > current_index_) return Join(directory_, items_[index].name);
    std::string path = items_[0].name;
    for (int i = 1; i <= index; ++i) path = Join(path, items_[i].name);
    return path;
}

bool DirectoryList::OpenItem(int index) {
    std::string path = PathOfItem(index);
    return !path.empty() && MoveTo(path);
}

bool DirectoryList::MoveTo(std::string_view path) {
    if (!files_.ChangeDirectory(path)) return false;
    directory_ = files_.CurrentDirectory();
    Rebuild();
    if (OnChange) OnChange();
    return true;
}

void DirectoryList::ShowCurrent() {
    directory_ = files_.CurrentDirectory();
    Rebuild();
}

void DirectoryList::Rebuild() {
    items_.clear();
    std::vector<std::string_view> parts = text::Split(directory_, '\\');
    if (directory_.empty() || parts.empty()) {
        current_index_ = -1;
        return;
    }
    items_.push_back({std::string(parts[0]) + '\\', 0, true});
    for (std::size_t i = 1; i < parts.size(); ++i)
        if (!parts[i].empty())
            items_.push_back({std::string(parts[i]), static_cast<int>(items_.size()), true});
    current_index_ = static_cast<int>(items_.size()) - 1;
    const int level = current_index_ + 1;
    for (std::string& name : files_.Subfolders(directory_))
        items_.push_back({std::move(name), level, false});
}

}  // namespace setup
