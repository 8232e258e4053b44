// The checksum resource for in-memory resources, as setup-pack writes it for an installer.
#pragma once

#include "data/file_list.h"
#include "data/unpack.h"
#include "doubles/memory_resources.h"
#include "format/checksums.h"
#include "format/frame.h"

namespace setup::testing {

inline format::ChecksumRecord RecordOf(const MemoryResources& resources, std::string_view type,
                                       std::string_view name) {
    std::optional<Bytes> bytes = resources.Find(type, name);
    if (!bytes) return {};
    return {static_cast<std::uint32_t>(bytes->size()), format::Crc32(0, *bytes),
            format::FrameLength(*bytes).value_or(0)};
}

// Records for entries 0 to count - 1, the skin and the licence, from what the resources hold.
inline void AddChecksums(MemoryResources& resources, int count) {
    std::vector<format::ChecksumRecord> records;
    for (int i = 0; i < count; ++i)
        records.push_back(RecordOf(resources, PayloadResourceType(i), PayloadResourceName(i)));
    records.push_back(RecordOf(resources, kSkinResourceType, kSkinResourceName));
    records.push_back(RecordOf(resources, kLicenceResourceType, kLicenceResourceName));
    const std::string encoded = format::EncodeChecksums(records);
    resources.SetResource(format::kChecksumResourceType, format::kChecksumResourceName,
                          {encoded.begin(), encoded.end()});
}

}  // namespace setup::testing
