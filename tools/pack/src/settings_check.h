// What each settings line must say beyond its syntax: the key of its place, a value the installer
// uses as meant (rectangles inside the skin, a version and a year it can show and compare, program
// names that the payload holds). Each fault is one problem naming the line and its key.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "bmp_check.h"
#include "problem.h"
#include "settings_file.h"

namespace pack {

// skin is nothing when the bitmap could not be read, targets when the order file could not:
// then those checks are left to the problems already reported.
Problems CheckSettingValues(const Settings& settings, const std::filesystem::path& file,
                            const std::optional<BmpInfo>& skin,
                            const std::vector<std::string>* targets);

// "6.0.2": one to four numbers of at most 65535, separated by single dots.
bool IsVersionText(std::string_view text);

}  // namespace pack
