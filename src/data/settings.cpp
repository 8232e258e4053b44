#include "data/settings.h"

#include <array>

#include "platform/error.h"
#include "platform/text.h"

namespace setup {

namespace {

using StringField = std::string ProductStrings::*;
// In the order of format::ProductSetting, so of the ids.
constexpr std::array<StringField, format::kProductSettingCount> kStringFields = {
    &ProductStrings::Company,          &ProductStrings::SoftSysName,
    &ProductStrings::MainExeName,      &ProductStrings::UninstallName,
    &ProductStrings::SoftYear,         &ProductStrings::SoftVersion,
    &ProductStrings::SoftSvrName,      &ProductStrings::SvrExeName,
    &ProductStrings::SoftTrialName,    &ProductStrings::SoftTrialExeName,
    &ProductStrings::SoftForFreeName,  &ProductStrings::SoftForFreeExeName,
};

}  // namespace

int StrToInt(std::string_view text) {
    std::optional<int> value = format::StrToInt(text);
    if (!value) throw NotValidInteger(text);
    return *value;
}

PieceRect ParseRectValue(std::string_view value) {
    auto parsed = format::ParseRectValue(value);
    if (auto* fault = std::get_if<format::RectFault>(&parsed)) {
        if (fault->too_few_fields) throw ListIndexOutOfBounds(3);
        throw NotValidInteger(fault->field);
    }
    return std::get<PieceRect>(parsed);
}

void ReadSetupSettings(const Resources& resources, ProductStrings& strings, const PieceSink& cut) {
    for (unsigned id = kFirstSettingId; id <= kLastSettingId; ++id) {
        std::optional<std::string> value = format::SettingValue(resources.LoadLine(id));
        if (!value) continue;
        if (id <= kLastRectSettingId) {
            PieceRect rect = ParseRectValue(*value);
            if (cut) cut(static_cast<SkinPiece>(id - kFirstSettingId), rect);
        } else {
            strings.*kStringFields[id - kLastRectSettingId - 1] = std::move(*value);
        }
    }
}

}  // namespace setup
