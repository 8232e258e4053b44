#include "rc_script.h"

#include <algorithm>
#include <cstdio>

#include "checksums.h"
#include "format/resource_ids.h"
#include "format/target_path.h"

namespace fs = std::filesystem;

namespace pack {

namespace format = setup::format;

std::string PayloadOutputName(std::size_t index) {
    return format::PayloadResourceName(static_cast<int>(index)) + ".bin";
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
            "    " + std::to_string(format::kFirstSettingId + i) + " " + QuoteRcString(settings[i]) + "\n";
    for (std::size_t i = 0; i < targets.size(); ++i) {
        std::string line = targets[i];
        std::replace(line.begin(), line.end(), format::kPathSeparator, format::kFileListSeparator);
        rc += "    " + std::to_string(format::kFirstFileListId + i) + " " + QuoteRcString(line) + "\n";
    }
    rc += "END\n\n";
    const fs::path dir = fs::absolute(out_dir).lexically_normal();
    auto resource = [&](const std::string& name, const std::string& type, const fs::path& file) {
        rc += name + " " + type + " " + QuoteRcString((dir / file).string()) + "\n";
    };
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const int index = static_cast<int>(i);
        resource(format::PayloadResourceName(index), format::PayloadResourceType(index),
                 PayloadOutputName(i));
    }
    resource(format::kSkinResourceName, format::kSkinResourceType, kSkinOutputName);
    resource(format::kLicenceResourceName, format::kLicenceResourceType, kLicenceOutputName);
    resource(format::kChecksumResourceName, format::kChecksumResourceType, kChecksumOutputName);
    return rc;
}

}  // namespace pack
