#include "data/settings.h"

#include <array>
#include <limits>

#include "platform/error.h"
#include "platform/text.h"

namespace setup {

namespace {

using StringField = std::string ProductStrings::*;
constexpr std::array<StringField, 12> kStringFields = {
    &ProductStrings::Company,          &ProductStrings::SoftSysName,
    &ProductStrings::MainExeName,      &ProductStrings::UninstallName,
    &ProductStrings::SoftYear,         &ProductStrings::SoftVersion,
    &ProductStrings::SoftSvrName,      &ProductStrings::SvrExeName,
    &ProductStrings::SoftTrialName,    &ProductStrings::SoftTrialExeName,
    &ProductStrings::SoftForFreeName,  &ProductStrings::SoftForFreeExeName,
};

// The fields are trimmed of codes 1 to 32; NUL cannot occur because a line ends at its first NUL.
std::string_view TrimField(std::string_view field) { return text::Trim(field); }

}  // namespace

std::vector<std::string> SplitSettingFields(std::string_view line, char sep) {
    std::vector<std::string> fields;
    if (text::Trim(line).empty()) return fields;
    for (std::string_view part : text::Split(line, sep)) fields.emplace_back(TrimField(part));
    return fields;
}

int StrToInt(std::string_view text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) throw NotValidInteger(text);
    long long value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') throw NotValidInteger(text);
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1)
            throw NotValidInteger(text);
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<int>::max()) throw NotValidInteger(text);
    return static_cast<int>(value);
}

PieceRect ParseRectValue(std::string_view value) {
    std::vector<std::string> fields = SplitSettingFields(value, ',');
    if (fields.size() < 4) throw ListIndexOutOfBounds(3);
    PieceRect rect;
    rect.h = StrToInt(fields[3]);
    rect.w = StrToInt(fields[2]);
    rect.y = StrToInt(fields[1]);
    rect.x = StrToInt(fields[0]);
    return rect;
}

void ReadSetupSettings(const Resources& resources, ProductStrings& strings, const PieceSink& cut) {
    for (unsigned id = kFirstSettingId; id <= kLastSettingId; ++id) {
        std::vector<std::string> fields = SplitSettingFields(resources.LoadLine(id), '=');
        if (fields.size() != 2) continue;
        const std::string& value = fields[1];
        if (id <= kLastRectSettingId) {
            PieceRect rect = ParseRectValue(value);
            if (cut) cut(static_cast<SkinPiece>(id - kFirstSettingId), rect);
        } else {
            strings.*kStringFields[id - kLastRectSettingId - 1] = value;
        }
    }
}

}  // namespace setup
