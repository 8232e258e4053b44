// How a settings line reads: "key=value", each field without the codes 1 to 32 at its ends; a
// rectangle value is "x,y,w,h" (left, top, width, height in pixels of the skin atlas).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace setup::format {

// Splits at sep; each field loses codes 1 to 32 at its ends. A sep at the very end adds one final
// empty field. An empty or all-blank line gives no field. Neither "=" nor "," can be the second
// byte of a character of code page 936, so the split is right for GBK text as for UTF-8.
std::vector<std::string> SplitSettingFields(std::string_view line, char sep);

// The value of a line that is exactly one key and one value; nothing for any other line, which
// the installer skips.
std::optional<std::string> SettingValue(std::string_view line);

// Optional sign and decimal digits, in the 32-bit range; anything else is not an integer.
std::optional<int> StrToInt(std::string_view text);

struct PieceRect {
    int x = 0, y = 0, w = 0, h = 0;
    bool operator==(const PieceRect&) const = default;
};

// Why a rectangle value cannot be read: fewer than four fields, or a field that is no integer.
// The fourth field is converted first, then the third, second and first, so the field named is
// the last bad one; fields after the fourth are ignored.
struct RectFault {
    bool too_few_fields = false;
    std::string field;  // the field that is no integer
};
std::variant<PieceRect, RectFault> ParseRectValue(std::string_view value);

}  // namespace setup::format
