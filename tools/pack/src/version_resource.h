// The installer's version resource (VS_VERSIONINFO), so that Explorer's Details tab and the
// inventories of deployment tools name the product: built from the settings, with its strings in
// the Chinese (PRC) block, as LoadString's texts are.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace pack {

struct VersionTexts {
    std::string company;    // Company
    std::string product;    // SoftSysName
    std::string version;    // SoftVersion, as shown; its leading numbers give the binary version
    std::string year;       // SoftYear, for the copyright line
    std::string file_name;  // the installer's own file name
};

// The texts from the settings lines (UTF-8, line i is string id 1001 + i); a setting that is
// missing or not one key and one value gives "".
VersionTexts VersionTextsFromSettings(const std::vector<std::string>& lines,
                                      std::string file_name);

// "6.0.2" gives 6, 0, 2, 0: up to four dot-separated numbers up to 65535, read from the start
// of the text until something else comes; missing parts are 0.
struct VersionNumber {
    unsigned part[4] = {0, 0, 0, 0};
};
VersionNumber ParseVersionNumber(const std::string& text);

// The resource's bytes; nothing when a text is not valid UTF-8.
std::optional<std::string> VersionResource(const VersionTexts& texts);

}  // namespace pack
