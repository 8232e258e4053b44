#include "licence.h"

#include "gbk.h"
#include "text_file.h"

namespace pack {

Licence ConvertLicence(std::string_view utf8, const std::string& file_name) {
    Licence licence;
    std::string_view text = StripBom(utf8);
    int line = 1;
    std::string current;
    auto end_line = [&](bool add_line_end) {
        std::optional<std::string> gbk = Utf8ToGbk(current);
        if (!gbk)
            licence.problems.push_back({file_name, line, DescribeUnconvertible(current)});
        else
            licence.gbk += *gbk;
        if (add_line_end) licence.gbk += "\r\n";
        current.clear();
        ++line;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\0') {
            licence.problems.push_back(
                {file_name, line, "a NUL byte, which would end the licence text there"});
            return licence;
        }
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            end_line(true);
        } else {
            current += c;
        }
    }
    if (!current.empty()) end_line(true);
    return licence;
}

}  // namespace pack
