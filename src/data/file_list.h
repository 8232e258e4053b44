// The payload file list: relative target paths at string ids 2000 to 9999, "*" standing for "\".
#pragma once

#include <string>
#include <vector>

#include "format/resource_ids.h"
#include "platform/resources.h"

namespace setup {

using format::kFirstFileListId;
using format::kLastFileListId;
using format::PayloadResourceName;
using format::PayloadResourceType;

// Every id is probed; a missing or blank line is skipped, so an entry's index (its position in the
// list) names its resource, not its id. Lines keep their blanks; only "*" becomes "\".
std::vector<std::string> LoadFileList(const Resources& resources);

}  // namespace setup
