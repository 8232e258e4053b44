#include "install/file_names.h"

#include "platform/text.h"

namespace setup {

static std::size_t NameStart(std::string_view path) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < path.size(); i += text::CharLength(path, i))
        if (path[i] == '\\' || path[i] == ':') start = i + 1;
    return start;
}

std::string ExtractFilePath(std::string_view path) {
    return std::string(path.substr(0, NameStart(path)));
}

std::string ExtractFileName(std::string_view path) {
    return std::string(path.substr(NameStart(path)));
}

std::string ChangeFileExt(std::string_view path, std::string_view ext) {
    std::size_t start = NameStart(path);
    std::size_t dot = text::FindLastChar(path.substr(start), '.');
    std::string out(dot == std::string_view::npos ? path : path.substr(0, start + dot));
    return out.append(ext);
}

std::string QuoteIfBlank(std::string_view path) {
    if (path.find(' ') == std::string_view::npos) return std::string(path);
    std::string quoted = "\"";
    return quoted.append(path).append("\"");
}

}  // namespace setup
