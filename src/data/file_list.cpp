#include "data/file_list.h"

#include <cstdio>

#include "platform/text.h"

namespace setup {

std::vector<std::string> LoadFileList(const Resources& resources) {
    std::vector<std::string> list;
    for (unsigned id = kFirstFileListId; id <= kLastFileListId; ++id) {
        std::string line = resources.LoadLine(id);
        if (text::Trim(line).empty()) continue;
        list.push_back(text::ReplaceChar(line, '*', '\\'));
    }
    return list;
}

static std::string Padded(int index) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%04d", index);
    return digits;
}

std::string PayloadResourceType(int index) { return "Myres" + Padded(index); }
std::string PayloadResourceName(int index) { return "MyFile" + Padded(index); }

}  // namespace setup
