// The 23 settings lines the product ships with, ids 1001 to 1023.
#pragma once

#include <array>
#include <string_view>

namespace setup::testing {

inline constexpr std::array<std::string_view, 23> kShippedSettings = {
    "FrmTop1BackRect=2,10,510,63",
    "FrmTop2BackRect=513,10,510,63",
    "FrmCenter1BackRect=2,122,510,295",
    "FrmCenter2BackRect=2,422,510,295",
    "FrmCenter3BackRect=513,122,510,295",
    "FrmCenter4BackRect=513,422,510,295",
    "FrmBottomBackRect=2,78,510,39",
    "PrBBackRect=766,101,30,19",
    "PrBBarRect=760,103,2,15",
    "BtnRect=515,76,220,23",
    "BtnCloseRect=515,101,108,19",
    "Company=Tessik软件",
    "SoftSysName=TessikOne软件商贸版",
    "MainExeName=TessikOne商贸版.Exe",
    "UninstallName=uninstall.exe",
    "SoftYear=2017",
    "SoftVersion=6.0.2",
    "SoftSvrName=TessikOne商贸版服务器",
    "SvrExeName=TessikOne商贸版服务器.exe",
    "SoftTrialName=TessikOne商贸试用版",
    "SoftTrialExeName=TessikOne商贸试用版.exe",
    "SoftForFreeName=TessikOne商贸免费版",
    "SoftForFreeExeName=TessikOne商贸免费版.exe",
};

}  // namespace setup::testing
