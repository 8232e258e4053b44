// What an executable carries, for listing: every resource with its size, and the strings of its
// string tables decoded to UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "pe/resource_set.h"

namespace pack::pe {

struct ListedResource {
    ResourceKey key;
    std::uint64_t size = 0;
    std::uint32_t code_page = 0;
};

struct ListedString {
    std::uint16_t language = 0;
    unsigned id = 0;
    std::string text;  // UTF-8
};

struct ResourceListing {
    std::vector<ListedResource> resources;  // in the loader's order: type, name, language
    std::vector<ListedString> strings;      // by language, then id
    std::vector<std::string> problems;      // a damaged file, or string blocks cut short
};

ResourceListing ListResources(std::string_view file);

}  // namespace pack::pe
