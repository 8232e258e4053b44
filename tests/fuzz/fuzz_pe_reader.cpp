// setup-pack's reader of Windows executables: the headers, then the resource tree and its string
// tables, of any bytes given as a stub or an installer.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "pe/pe_image.h"
#include "pe/resource_reader.h"
#include "pe/string_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    const pack::pe::PeParse parse = pack::pe::ParsePe(file);
    if (!parse.image) return 0;
    for (const pack::pe::DataDirectory& directory : parse.image->directories) {
        pack::pe::FileOffsetOf(*parse.image, directory.address, directory.size);
        pack::pe::SectionAt(*parse.image, directory.address);
    }
    const pack::pe::ResourceRead read = pack::pe::ReadResources(file, *parse.image);
    if (!read.resources) return 0;
    for (const auto& [key, resource] : *read.resources) {
        const auto bytes = pack::pe::MemoryBytes(resource.data);
        if (!bytes) continue;
        if (!key.type.is_name && key.type.number == 6 && !key.name.is_name)
            pack::pe::DecodeStringBlock(key.name.number, *bytes);
    }
    return 0;
}
