// The settings file: the 23 "key=value" lines that become string ids 1001 to 1023, in file order.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "problem.h"

namespace pack {

constexpr int kSettingsLineCount = 23;
constexpr int kRectSettingCount = 11;  // the first 11 lines are skin rectangles "x,y,w,h"

struct Settings {
    std::vector<std::string> lines;  // UTF-8, as written, without line ends
    std::vector<int> line_numbers;   // where each of them stands in the file
    Problems problems;
    Problems warnings;  // lines the installer would read differently than they look
};

// Blank lines are ignored. Every other line needs a "=" and must fit the string table (see
// CheckTableLine); there must be exactly 23 of them.
Settings ParseSettings(std::string_view text, const std::string& file_name);

// The rectangle of a settings line "key=x,y,w,h" when its value gives four integers the way the
// installer reads it (blanks around the numbers allowed, fields after the fourth ignored).
struct Rect {
    long x = 0, y = 0, w = 0, h = 0;
};
bool ParseRectLine(std::string_view line, Rect& rect);

}  // namespace pack
