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

std::string SetupSettings::Problem() const {
    if (!error) return {};
    return "setting " + std::to_string(error_id) + ": " + error->what();
}

SetupSettings ReadSetupSettings(const Resources& resources) {
    SetupSettings settings;
    for (unsigned id = kFirstSettingId; id <= kLastSettingId; ++id) {
        std::optional<std::string> value = format::SettingValue(resources.LoadLine(id));
        if (!value) continue;
        if (id > kLastRectSettingId) {
            settings.strings.*kStringFields[id - kLastRectSettingId - 1] = std::move(*value);
            continue;
        }
        try {
            settings.pieces[id - kFirstSettingId] = ParseRectValue(*value);
        } catch (const RuntimeError& e) {
            settings.error = e;
            settings.error_id = id;
            break;
        }
    }
    return settings;
}

}  // namespace setup
