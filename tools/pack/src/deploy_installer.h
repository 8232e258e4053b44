// The deploy folder of a finished installer, read from the installer itself: the settings in its
// string table and the hash of the file as it is now, so a signed installer is described after
// its signing.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>

namespace pack {

// False with error (naming the file) when the installer cannot be read or carries no settings.
bool WriteDeployFor(const std::filesystem::path& installer, const std::filesystem::path& dir,
                    std::string& error);

// setup-pack --deploy DIR --installer FILE on its own: 0, or 1 with the reason in log.
int RunDeploy(const std::filesystem::path& installer, const std::filesystem::path& dir,
              std::ostream& log);

}  // namespace pack
