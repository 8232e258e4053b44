#include "data/file_list.h"

#include "platform/text.h"

namespace setup {

std::vector<std::string> LoadFileList(const Resources& resources) {
    std::vector<std::string> list;
    for (unsigned id = kFirstFileListId; id <= kLastFileListId; ++id) {
        std::string line = resources.LoadLine(id);
        if (text::Trim(line).empty()) continue;
        list.push_back(text::ReplaceChar(line, format::kFileListSeparator, '\\'));
    }
    return list;
}

}  // namespace setup
