// The key of each settings line, in id order (1001 on). The installer fills a setting by the line's
// id alone; setup-pack checks that each line carries the key of its place, so swapped or misspelt
// lines are caught before they reach an installer.
#pragma once

#include <string_view>

#include "format/resource_ids.h"

namespace setup::format {

// clang-format off
inline constexpr std::string_view kSettingKeys[kSettingCount] = {
    "FrmTop1BackRect",    "FrmTop2BackRect",    "FrmCenter1BackRect", "FrmCenter2BackRect",
    "FrmCenter3BackRect", "FrmCenter4BackRect", "FrmBottomBackRect",  "PrBBackRect",
    "PrBBarRect",         "BtnRect",            "BtnCloseRect",       "Company",
    "SoftSysName",        "MainExeName",        "UninstallName",      "SoftYear",
    "SoftVersion",        "SoftSvrName",        "SvrExeName",         "SoftTrialName",
    "SoftTrialExeName",   "SoftForFreeName",    "SoftForFreeExeName",
};
// clang-format on

// The position (0-based) of a product setting among all settings lines.
constexpr int SettingIndex(ProductSetting setting) {
    return kRectSettingCount + static_cast<int>(setting);
}

}  // namespace setup::format
