#include "format/resource_ids.h"

#include <string>

namespace setup::format {

// prefix and index in at least four digits (indexes are never negative); printf is kept out of the
// installer for its size.
static std::string Padded(const char* prefix, int index) {
    std::string digits = std::to_string(index);
    if (digits.size() < 4) digits.insert(0, 4 - digits.size(), '0');
    return prefix + digits;
}

std::string PayloadResourceType(int index) { return Padded("Myres", index); }
std::string PayloadResourceName(int index) { return Padded("MyFile", index); }

}  // namespace setup::format
