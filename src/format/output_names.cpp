#include "format/output_names.h"

#include "format/resource_ids.h"
#include "format/solid_table.h"

namespace setup::format {

namespace {

// The name of index 0 without its digits: "MyFile", "MyBlock".
std::string_view Prefix(const std::string& first) {
    std::string_view name = first;
    while (!name.empty() && name.back() == '0') name.remove_suffix(1);
    return name;
}

bool StripSuffix(std::string_view& name, std::string_view suffix) {
    if (!name.ends_with(suffix)) return false;
    name.remove_suffix(suffix.size());
    return true;
}

// For "<prefix><4 or more digits>.bin[.tmp]": whether the index is count or more, or the write
// was interrupted; false for every other name.
bool StaleNumbered(std::string_view name, std::string_view prefix, std::size_t count) {
    const bool partial = StripSuffix(name, kPartialSuffix);
    if (!StripSuffix(name, kOutputSuffix) || !name.starts_with(prefix)) return false;
    name.remove_prefix(prefix.size());
    if (name.size() < 4 || name.find_first_not_of("0123456789") != std::string_view::npos)
        return false;
    // Nine digits are more than any payload has; longer numbers are stale by definition.
    if (partial || name.size() > 9) return true;
    std::size_t index = 0;
    for (char c : name) index = index * 10 + static_cast<std::size_t>(c - '0');
    return index >= count;
}

}  // namespace

std::string OutputFileName(std::string_view resource_name) {
    return std::string(resource_name) + kOutputSuffix;
}

bool IsStaleOutput(std::string_view file_name, std::size_t payload_entries,
                   std::size_t solid_blocks) {
    static const std::string payload = PayloadResourceName(0), block = SolidBlockResourceName(0);
    return StaleNumbered(file_name, Prefix(payload), payload_entries) ||
           StaleNumbered(file_name, Prefix(block), solid_blocks);
}

}  // namespace setup::format
