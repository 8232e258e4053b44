#include "format/settings_syntax.h"

#include <limits>

namespace setup::format {

namespace {

std::string_view TrimField(std::string_view field) {
    while (!field.empty() && static_cast<unsigned char>(field.front()) <= 32) field.remove_prefix(1);
    while (!field.empty() && static_cast<unsigned char>(field.back()) <= 32) field.remove_suffix(1);
    return field;
}

}  // namespace

std::vector<std::string> SplitSettingFields(std::string_view line, char sep) {
    std::vector<std::string> fields;
    if (TrimField(line).empty()) return fields;
    for (std::size_t start = 0;;) {
        const std::size_t at = line.find(sep, start);
        fields.emplace_back(TrimField(line.substr(start, at - start)));
        if (at == std::string_view::npos) break;
        start = at + 1;
    }
    return fields;
}

std::optional<std::string> SettingValue(std::string_view line) {
    std::vector<std::string> fields = SplitSettingFields(line, '=');
    if (fields.size() != 2) return std::nullopt;
    return std::move(fields[1]);
}

std::optional<int> StrToInt(std::string_view text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) return std::nullopt;
    long long value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1)
            return std::nullopt;
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<int>::max()) return std::nullopt;
    return static_cast<int>(value);
}

std::variant<PieceRect, RectFault> ParseRectValue(std::string_view value) {
    std::vector<std::string> fields = SplitSettingFields(value, ',');
    if (fields.size() < 4) return RectFault{true, {}};
    int* targets[4];
    PieceRect rect;
    targets[0] = &rect.x;
    targets[1] = &rect.y;
    targets[2] = &rect.w;
    targets[3] = &rect.h;
    for (int i = 3; i >= 0; --i) {
        std::optional<int> number = StrToInt(fields[static_cast<std::size_t>(i)]);
        if (!number) return RectFault{false, fields[static_cast<std::size_t>(i)]};
        *targets[i] = *number;
    }
    return rect;
}

}  // namespace setup::format
