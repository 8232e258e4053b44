// The bytes of a resource section for a set of resources: the directory tables (root, then the
// type tables, then the name tables), the data entries, the name strings, then each resource's
// data, 8-byte aligned. Within a table named entries come first, sorted by their UTF-16 code
// units, then id entries in ascending order: the loader finds entries by binary search.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "pe/resource_set.h"

namespace pack::pe {

struct ResourceSection {
    std::string head;                         // everything before the first resource's data
    std::vector<std::uint32_t> data_offsets;  // each resource's, in set order, from the start
    std::uint32_t size = 0;                   // the whole content, the last data included
};

// The section as it is when loaded at address (data entries hold addresses, not offsets).
// Nothing, with problem set, when it would not fit in 4 GiB of address space.
std::optional<ResourceSection> LayOutResources(const ResourceSet& set, std::uint32_t address,
                                               std::string& problem);

}  // namespace pack::pe
