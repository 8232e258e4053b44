#include "format/resource_ids.h"

#include <cstdio>

namespace setup::format {

static std::string Padded(const char* prefix, int index) {
    char name[32];
    std::snprintf(name, sizeof name, "%s%04d", prefix, index);
    return name;
}

std::string PayloadResourceType(int index) { return Padded("Myres", index); }
std::string PayloadResourceName(int index) { return Padded("MyFile", index); }

}  // namespace setup::format
