#include "settings_file.h"

#include "gbk.h"
#include "text_file.h"

namespace pack {

namespace {

// "#" first (after blanks) marks a comment for whoever edits the file; it never reaches the
// installer, and no key starts with it.
bool IsComment(std::string_view line) {
    const std::size_t at = line.find_first_not_of(" \t");
    return at != std::string_view::npos && line[at] == '#';
}

}  // namespace

Settings ParseSettings(std::string_view text, const std::string& file_name) {
    Settings settings;
    std::vector<std::string_view> lines = SplitLines(StripBom(text));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        std::string_view line = lines[i];
        if (IsBlank(line) || IsComment(line)) continue;
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

std::optional<setup::format::PieceRect> RectOfLine(std::string_view line) {
    std::optional<std::string> value = setup::format::SettingValue(line);
    if (!value) return std::nullopt;
    auto rect = setup::format::ParseRectValue(*value);
    if (auto* read = std::get_if<setup::format::PieceRect>(&rect)) return *read;
    return std::nullopt;
}

}  // namespace pack
