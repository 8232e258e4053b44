// The deploy folder: what deployment tools need to push the finished installer without
// per-product setup. A winget installer-manifest fragment, an Intune / ConfigMgr detection rule
// and a plain list of the switches and exit codes, all from the settings the installer carries.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace pack {

inline constexpr char kWingetFileName[] = "winget-installer.yaml";
inline constexpr char kDetectionFileName[] = "detection-rule.json";
inline constexpr char kSwitchesFileName[] = "switches.txt";

// What the installer writes into its uninstall entry, read from the settings as it reads them.
struct DeployFacts {
    std::string company;       // Publisher, and the uninstall key's name (ProductCode)
    std::string display_name;  // SoftSysName
    std::string version;       // SoftVersion
    std::string sha256;        // of the finished installer, upper-case hex
};

// From the 23 settings lines (UTF-8, checked) and the installer's file.
DeployFacts DeployFactsFrom(const std::vector<std::string>& settings, std::string sha256);

std::string WingetInstallerYaml(const DeployFacts& facts);
std::string DetectionRuleJson(const DeployFacts& facts);
std::string SwitchesText(const DeployFacts& facts);

// Writes the three files into dir (created if missing). False with error on failure.
bool WriteDeployFolder(const std::filesystem::path& dir, const DeployFacts& facts,
                       std::string& error);

}  // namespace pack
