#include "pe/resource_list.h"

#include <algorithm>

#include "pe/pe_image.h"
#include "pe/resource_reader.h"
#include "pe/string_table.h"

namespace pack::pe {

ResourceListing ListResources(std::string_view file) {
    ResourceListing listing;
    PeParse parse = ParsePe(file);
    if (!parse.image) return listing.problems.push_back(parse.problem), listing;
    ResourceRead read = ReadResources(file, *parse.image);
    if (!read.resources) return listing.problems.push_back(read.problem), listing;
    for (const auto& [key, resource] : *read.resources) {
        const std::string_view bytes = *MemoryBytes(resource.data);
        listing.resources.push_back({key, bytes.size(), resource.code_page});
        if (key.type.is_name || key.type.number != kRtString) continue;
        auto strings = key.name.is_name ? std::nullopt : DecodeStringBlock(key.name.number, bytes);
        if (!strings) {
            listing.problems.push_back("the string block " + KeyText(key) + " is damaged");
            continue;
        }
        for (StringEntry& s : *strings)
            listing.strings.push_back({key.language, s.id, std::move(s.text)});
    }
    std::stable_sort(
        listing.strings.begin(), listing.strings.end(),
        [](const ListedString& a, const ListedString& b) { return a.language < b.language; });
    return listing;
}

}  // namespace pack::pe
