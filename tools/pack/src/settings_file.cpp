#include "settings_file.h"

#include <cstdlib>

#include "gbk.h"
#include "text_file.h"

namespace pack {

namespace {

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= 32) text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32) text.remove_suffix(1);
    return text;
}

bool ParseInt(std::string_view text, long& value) {
    text = TrimBlanks(text);
    std::size_t i = (!text.empty() && (text[0] == '+' || text[0] == '-')) ? 1 : 0;
    if (i == text.size() || text.size() > 11) return false;
    for (std::size_t k = i; k < text.size(); ++k)
        if (text[k] < '0' || text[k] > '9') return false;
    value = std::strtol(std::string(text).c_str(), nullptr, 10);
    return true;
}

}  // namespace

Settings ParseSettings(std::string_view text, const std::string& file_name) {
    Settings settings;
    std::vector<std::string_view> lines = SplitLines(StripBom(text));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        std::string_view line = lines[i];
        if (IsBlank(line)) continue;
        if (line.find('=') == std::string_view::npos)
            settings.problems.push_back({file_name, number, "no \"=\" in the line"});
        else if (auto why = CheckTableLine(line))
            settings.problems.push_back({file_name, number, *why});
        else if (line.find('=') != line.rfind('='))
            settings.warnings.push_back(
                {file_name, number, "more than one \"=\": the installer skips this line"});
        settings.lines.emplace_back(line);
        settings.line_numbers.push_back(number);
    }
    if (settings.lines.size() != kSettingsLineCount)
        settings.problems.push_back(
            {file_name, 0,
             std::to_string(settings.lines.size()) + " non-blank lines; exactly " +
                 std::to_string(kSettingsLineCount) + " are needed (ids 1001 to 1023)"});
    return settings;
}

bool ParseRectLine(std::string_view line, Rect& rect) {
    std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return false;
    std::string_view value = line.substr(eq + 1);
    long* fields[] = {&rect.x, &rect.y, &rect.w, &rect.h};
    for (long* field : fields) {
        std::size_t comma = value.find(',');
        if (!ParseInt(value.substr(0, comma), *field)) return false;
        value = comma == std::string_view::npos ? std::string_view() : value.substr(comma + 1);
        if (comma == std::string_view::npos && field != &rect.h) return false;
    }
    return true;
}

}  // namespace pack
