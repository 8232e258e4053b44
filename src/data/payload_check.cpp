#include "data/payload_check.h"

#include <string_view>

#include "data/file_list.h"
#include "data/solid_block.h"
#include "data/unpack.h"
#include "format/checksums.h"
#include "format/frame.h"

namespace setup {

namespace {

using format::ChecksumRecord;

bool Matches(const Resources& resources, std::string_view type, std::string_view name,
             const ChecksumRecord& record) {
    std::uint64_t size = 0;
    std::uint32_t crc = 0;
    const bool read = resources.ReadThrough(type, name, [&](Bytes chunk) {
        size += chunk.size();
        crc = format::Crc32(crc, chunk);
        return size <= record.size;
    });
    return read && size == record.size && crc == record.crc;
}

// The records, when the resource holds one for every entry, the skin and the licence, and in a
// solid installer one for every block and the block table after them.
std::optional<std::vector<ChecksumRecord>> Records(const Resources& resources, int file_count) {
    std::optional<Bytes> bytes =
        resources.Find(format::kChecksumResourceType, format::kChecksumResourceName);
    auto records = bytes ? format::DecodeChecksums(*bytes) : std::nullopt;
    if (!records || records->size() < format::ChecksumRecordCount(file_count)) return std::nullopt;
    return records;
}

// The blocks and the table of a solid installer, each against its record; their names when one
// does not match. The table must decode and list every entry of the file list.
std::optional<std::string> FindDamagedBlock(const Resources& resources, int file_count,
                                            const std::vector<ChecksumRecord>& records) {
    const std::size_t first = format::ChecksumRecordCount(file_count);
    const std::string table_name(format::kSolidTableResourceName);
    std::optional<Bytes> bytes =
        resources.Find(format::kSolidTableResourceType, format::kSolidTableResourceName);
    const auto decoded = format::DecodeSolidTable(*bytes);
    if (!decoded.table || decoded.table->entries.size() != static_cast<std::size_t>(file_count) ||
        records.size() != first + decoded.table->blocks.size() + 1 ||
        !Matches(resources, format::kSolidTableResourceType, table_name, records.back()))
        return table_name;
    for (std::size_t k = 0; k < decoded.table->blocks.size(); ++k) {
        const std::string name = format::SolidBlockResourceName(k);
        if (!Matches(resources, format::kSolidBlockResourceType, name, records[first + k]) ||
            records[first + k].size != decoded.table->blocks[k].packed)
            return name;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> FindDamagedResource(const Resources& resources, int file_count) {
    const auto records = Records(resources, file_count);
    if (!records) return std::string(format::kChecksumResourceName);
    const bool solid =
        resources.Find(format::kSolidTableResourceType, format::kSolidTableResourceName)
            .has_value();
    if (!solid && records->size() != format::ChecksumRecordCount(file_count))
        return std::string(format::kChecksumResourceName);
    for (int i = 0; i < file_count && !solid; ++i) {
        const std::string name = PayloadResourceName(i);
        if (!Matches(resources, PayloadResourceType(i), name, (*records)[i])) return name;
    }
    if (!Matches(resources, kSkinResourceType, kSkinResourceName, (*records)[file_count]))
        return std::string(kSkinResourceName);
    if (!Matches(resources, kLicenceResourceType, kLicenceResourceName, (*records)[file_count + 1]))
        return std::string(kLicenceResourceName);
    if (solid) return FindDamagedBlock(resources, file_count, *records);
    return std::nullopt;
}

std::vector<std::uint64_t> UnpackedEntrySizes(const Resources& resources, int file_count) {
    const auto records = Records(resources, file_count);
    std::vector<std::uint64_t> sizes;
    if (records)
        for (int i = 0; i < file_count; ++i)
            sizes.push_back((*records)[static_cast<std::size_t>(i)].unpacked);
    return sizes;
}

}  // namespace setup
