// The payload file list: relative target paths at string ids 2000 to 9999, "*" standing for "\".
#pragma once

#include <string>
#include <vector>

#include "platform/resources.h"

namespace setup {

constexpr unsigned kFirstFileListId = 2000;
constexpr unsigned kLastFileListId = 9999;

// Every id is probed; a missing or blank line is skipped, so an entry's index (its position in the
// list) names its resource, not its id. Lines keep their blanks; only "*" becomes "\".
std::vector<std::string> LoadFileList(const Resources& resources);

// The resource of entry index: type "Myres" and name "MyFile", each followed by the index padded
// with "0" to four digits.
std::string PayloadResourceType(int index);
std::string PayloadResourceName(int index);

}  // namespace setup
