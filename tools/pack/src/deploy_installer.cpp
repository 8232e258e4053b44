#include "deploy_installer.h"

#include <map>

#include "deploy.h"
#include "format/resource_ids.h"
#include "pe/resource_list.h"
#include "sha256.h"
#include "text_file.h"

namespace format = setup::format;

namespace pack {

bool WriteDeployFor(const std::filesystem::path& installer, const std::filesystem::path& dir,
                    std::string& error) {
    std::string reason;
    std::optional<std::string> bytes = ReadWholeFile(installer, &reason);
    if (!bytes) {
        error = installer.string() + ": " + reason;
        return false;
    }
    std::map<unsigned, std::string> strings;
    for (const pe::ListedString& s : pe::ListResources(*bytes).strings)
        if (s.language == format::kStringTableLanguage) strings[s.id] = s.text;
    std::vector<std::string> settings;
    for (unsigned id = format::kFirstSettingId; id <= format::kLastSettingId; ++id) {
        if (!strings.count(id)) {
            error = installer.string() + ": no settings line " + std::to_string(id) +
                    "; not an installer written by setup-pack";
            return false;
        }
        settings.push_back(strings[id]);
    }
    return WriteDeployFolder(dir, DeployFactsFrom(settings, Sha256Hex(*bytes)), error);
}

int RunDeploy(const std::filesystem::path& installer, const std::filesystem::path& dir,
              std::ostream& log) {
    std::string error;
    if (WriteDeployFor(installer, dir, error)) return 0;
    log << "setup-pack: error: " << error << "\n";
    return 1;
}

}  // namespace pack
