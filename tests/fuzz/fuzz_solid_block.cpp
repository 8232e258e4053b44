// The solid payload's reader: a block table as the installer decodes it, and a block of either
// codec decoded into its entries. The first byte picks the codec and the next two the block's
// decoded size; the rest is the block. Damage must be an error, never a crash or a hang.
#include <cstddef>
#include <cstdint>
#include <span>

#include "data/solid_block.h"
#include "doubles/memory_resources.h"
#include "format/solid_table.h"
#include "platform/error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    namespace format = setup::format;
    (void)format::DecodeSolidTable({data, size});
    if (size < 3) return 0;
    format::SolidTable table;
    table.codec = data[0] & 1 ? format::SolidCodec::Lzma : format::SolidCodec::Zstd;
    const std::uint32_t unpacked = data[1] | std::uint32_t{data[2]} << 8;
    table.blocks = {{static_cast<std::uint32_t>(size - 3), unpacked}};
    table.entries = {{0, 0, unpacked / 2}, {0, unpacked / 2, unpacked - unpacked / 2}};
    setup::MemoryResources resources;
    resources.SetResource(format::kSolidBlockResourceType, format::SolidBlockResourceName(0),
                          {data + 3, data + size});
    try {
        setup::DecodeBlockEntries(resources, table, 0,
                                  [](std::size_t, setup::Bytes, bool) { return true; });
    } catch (const setup::RuntimeError&) {
    }
    return 0;
}
