// Reads the resource tree of an executable (type, then name, then language, then the data
// entry) into a resource set whose data borrow the file's bytes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "pe/pe_image.h"
#include "pe/resource_set.h"

namespace pack::pe {

struct ResourceRead {
    std::optional<ResourceSet> resources;  // empty when the file has no resource directory
    std::string problem;                   // otherwise what is wrong with the tree
};

// file must outlive the returned set.
ResourceRead ReadResources(std::string_view file, const PeImage& image);

}  // namespace pack::pe
