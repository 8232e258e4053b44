#include "deploy.h"

#include <cstdio>
#include <system_error>

#include "format/setting_keys.h"
#include "format/settings_syntax.h"
#include "install/exit_code.h"
#include "install/registry_records.h"
#include "text_file.h"

namespace pack {

namespace {

using setup::ExitCode;

// How winget reads each code (its ExpectedReturnCodes' ReturnResponse). Success is not listed:
// winget takes 0 as success and the manifest may not name it.
const char* WingetResponse(ExitCode code) {
    switch (code) {
        case ExitCode::Success:
            return nullptr;
        case ExitCode::RestartNeeded:
            return "rebootRequiredToFinish";
        case ExitCode::Cancelled:
            return "cancelledByUser";
        case ExitCode::Incomplete:
            return "installFailed";
        case ExitCode::AlreadyRunning:
            return "installInProgress";
        case ExitCode::BadCommandLine:
            return "invalidParameter";
        case ExitCode::DiskFull:
            return "diskFull";
        // The folder comes from the command line (/DIR=) when winget installs.
        case ExitCode::FolderRefused:
            return "invalidParameter";
        case ExitCode::Damaged:
            return "custom";
        case ExitCode::LogNotWritten:
            return "custom";
    }
    return "custom";
}

// The switches deployment sends, each with what it does.
constexpr const char* kSilent = "/VERYSILENT /SUPPRESSMSGBOXES /NORESTART";
constexpr const char* kSilentWithProgress = "/SILENT /SUPPRESSMSGBOXES /NORESTART";
constexpr const char* kLog = "/LOG=\"<LOGPATH>\"";
constexpr const char* kInstallLocation = "/DIR=\"<INSTALLPATH>\"";

std::string Escaped(std::string_view text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7f) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\u%04x", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::string Setting(const std::vector<std::string>& settings, setup::format::ProductSetting s) {
    const std::size_t at = static_cast<std::size_t>(setup::format::SettingIndex(s));
    if (at >= settings.size()) return {};
    return setup::format::SettingValue(settings[at]).value_or(std::string());
}

std::string UninstallKey(const DeployFacts& facts) {
    return std::string(setup::kUninstallKeyBase) + facts.company;
}

}  // namespace

DeployFacts DeployFactsFrom(const std::vector<std::string>& settings, std::string sha256) {
    using setup::format::ProductSetting;
    return {Setting(settings, ProductSetting::Company),
            Setting(settings, ProductSetting::SoftSysName),
            Setting(settings, ProductSetting::SoftVersion), std::move(sha256)};
}

// Double-quoted YAML scalars take the same escapes as JSON strings, so one quoting serves both.
std::string WingetInstallerYaml(const DeployFacts& facts) {
    std::string y =
        "# winget installer manifest fragment written by setup-pack: merge it into the\n"
        "# package's installer manifest and add InstallerUrl, the installer's download address.\n"
        "InstallerType: exe\n"
        "Scope: machine\n"
        "InstallModes:\n  - interactive\n  - silent\n  - silentWithProgress\n"
        "InstallerSwitches:\n";
    y += "  Silent: " + Escaped(kSilent) + "\n";
    y += "  SilentWithProgress: " + Escaped(kSilentWithProgress) + "\n";
    y += "  Log: " + Escaped(kLog) + "\n";
    y += "  InstallLocation: " + Escaped(kInstallLocation) + "\n";
    y += "ExpectedReturnCodes:\n";
    for (ExitCode code : setup::kExitCodes)
        if (const char* response = WingetResponse(code))
            y += "  - InstallerReturnCode: " + std::to_string(static_cast<int>(code)) +
                 "\n    ReturnResponse: " + response + "\n";
    y += "ProductCode: " + Escaped(facts.company) + "\n";
    y += "AppsAndFeaturesEntries:\n";
    y += "  - DisplayName: " + Escaped(facts.display_name) + "\n";
    y += "    Publisher: " + Escaped(facts.company) + "\n";
    y += "    DisplayVersion: " + Escaped(facts.version) + "\n";
    y += "    ProductCode: " + Escaped(facts.company) + "\n";
    y += "Installers:\n  - Architecture: x86\n    InstallerSha256: " + facts.sha256 + "\n";
    return y;
}

// In the form of Intune's registry detection rule (win32LobAppRegistryRule); ConfigMgr's
// registry detection method takes the same key, value, 32-bit view and version comparison.
std::string DetectionRuleJson(const DeployFacts& facts) {
    return "{\n"
           "  \"@odata.type\": \"#microsoft.graph.win32LobAppRegistryRule\",\n"
           "  \"ruleType\": \"detection\",\n"
           "  \"keyPath\": " +
           Escaped("HKEY_LOCAL_MACHINE\\" + UninstallKey(facts)) +
           ",\n"
           "  \"valueName\": \"DisplayVersion\",\n"
           "  \"check32BitOn64System\": true,\n"
           "  \"operationType\": \"version\",\n"
           "  \"operator\": \"greaterThanOrEqual\",\n"
           "  \"comparisonValue\": " +
           Escaped(facts.version) +
           "\n"
           "}\n";
}

std::string SwitchesText(const DeployFacts& facts) {
    std::string t = facts.display_name + " " + facts.version + "\n\nSwitches\n";
    t += std::string("  silent:               ") + kSilent + "\n";
    t += std::string("  silent with progress: ") + kSilentWithProgress + "\n";
    t += std::string("  log to a file:        ") + kLog + "\n";
    t += std::string("  installation folder:  ") + kInstallLocation + "\n";
    t += "  also accepted:        /SP- /NOCANCEL /RESTARTEXITCODE=n /TASKS=\n\n";
    t += "Exit codes\n";
    for (ExitCode code : setup::kExitCodes) {
        char number[16];
        std::snprintf(number, sizeof number, "  %-6d", static_cast<int>(code));
        t += number + std::string(setup::ExitCodeMeaning(code)) + "\n";
    }
    t += "\nInstalled when HKEY_LOCAL_MACHINE\\" + UninstallKey(facts) +
         " (32-bit view) has DisplayVersion " + facts.version + " or later.\n";
    return t;
}

bool WriteDeployFolder(const std::filesystem::path& dir, const DeployFacts& facts,
                       std::string& error) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) {
        error = dir.string() + ": " + ec.message();
        return false;
    }
    bool written = false;
    return WriteIfChanged(dir / kWingetFileName, WingetInstallerYaml(facts), written, error) &&
           WriteIfChanged(dir / kDetectionFileName, DetectionRuleJson(facts), written, error) &&
           WriteIfChanged(dir / kSwitchesFileName, SwitchesText(facts), written, error);
}

}  // namespace pack
