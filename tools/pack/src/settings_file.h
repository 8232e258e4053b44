// The settings file: the 23 "key=value" lines that become string ids 1001 to 1023, in file order.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "format/resource_ids.h"
#include "format/settings_syntax.h"
#include "problem.h"

namespace pack {

constexpr int kSettingsLineCount = setup::format::kSettingCount;
constexpr int kRectSettingCount = setup::format::kRectSettingCount;  // skin rectangles "x,y,w,h"

struct Settings {
    std::vector<std::string> lines;  // UTF-8, as written, without line ends
    std::vector<int> line_numbers;   // where each of them stands in the file
    Problems problems;
    Problems warnings;  // lines the installer would read differently than they look
};

// Blank lines and comments (lines starting with "#") are ignored. Every other line needs a "=" and must fit the string table (see
// CheckTableLine); there must be exactly 23 of them.
Settings ParseSettings(std::string_view text, const std::string& file_name);

// The rectangle of a settings line "key=x,y,w,h", read as the installer reads it
// (format/settings_syntax.h); nothing when the installer could not read it.
std::optional<setup::format::PieceRect> RectOfLine(std::string_view line);

}  // namespace pack
