#include "rc_script.h"

#include <algorithm>
#include <cstdio>

#include "checksums.h"

namespace fs = std::filesystem;

namespace pack {

std::string PayloadOutputName(std::size_t index) {
    char name[32];
    std::snprintf(name, sizeof name, "MyFile%04zu.bin", index);
    return name;
}

std::string QuoteRcString(std::string_view text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"')
            quoted += "\"\"";
        else if (c == '\\')
            quoted += "\\\\";
        else if (c == '\t')
            quoted += "\\t";
        else
            quoted += c;
    }
    return quoted + "\"";
}

std::string BuildRcScript(const std::vector<std::string>& settings,
                          const std::vector<std::string>& targets, const fs::path& out_dir) {
    std::string rc =
        "// Made by setup-pack: the installer's settings, file list, payload, skin and licence.\n"
        "#pragma code_page(65001)\n"
        "LANGUAGE 0x04, 0x02\n\n"
        "STRINGTABLE\nBEGIN\n";
    for (std::size_t i = 0; i < settings.size(); ++i)
        rc +=
            "    " + std::to_string(kFirstSettingId + i) + " " + QuoteRcString(settings[i]) + "\n";
    for (std::size_t i = 0; i < targets.size(); ++i) {
        std::string line = targets[i];
        std::replace(line.begin(), line.end(), '\\', '*');
        rc += "    " + std::to_string(kFirstFileListId + i) + " " + QuoteRcString(line) + "\n";
    }
    rc += "END\n\n";
    const fs::path dir = fs::absolute(out_dir).lexically_normal();
    for (std::size_t i = 0; i < targets.size(); ++i) {
        char names[80];
        std::snprintf(names, sizeof names, "MyFile%04zu Myres%04zu ", i, i);
        rc += names + QuoteRcString((dir / PayloadOutputName(i)).string()) + "\n";
    }
    rc += "MainBmp MyRes1 " + QuoteRcString((dir / kSkinOutputName).string()) + "\n";
    rc += "MainRect MyRes2 " + QuoteRcString((dir / kLicenceOutputName).string()) + "\n";
    rc += "MainSum MyRes3 " + QuoteRcString((dir / kChecksumOutputName).string()) + "\n";
    return rc;
}

}  // namespace pack
