#include "data/payload_check.h"

#include <zlib.h>

#include <cstring>
#include <string_view>
#include <vector>

#include "data/file_list.h"
#include "data/unpack.h"

namespace setup {

namespace {

struct Record {
    std::uint32_t size = 0, crc = 0;
};

std::uint32_t Le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::optional<std::vector<Record>> ReadRecords(const Resources& resources) {
    std::optional<Bytes> bytes = resources.Find(kChecksumResourceType, kChecksumResourceName);
    if (!bytes || bytes->size() < 8 || std::memcmp(bytes->data(), kChecksumMagic, 4) != 0)
        return std::nullopt;
    const std::uint32_t count = Le32(bytes->data() + 4);
    if ((bytes->size() - 8) / 8 != count || (bytes->size() - 8) % 8 != 0) return std::nullopt;
    std::vector<Record> records(count);
    for (std::uint32_t i = 0; i < count; ++i)
        records[i] = {Le32(bytes->data() + 8 + 8 * i), Le32(bytes->data() + 12 + 8 * i)};
    return records;
}

bool Matches(const Resources& resources, std::string_view type, std::string_view name,
             const Record& record) {
    std::uint64_t size = 0;
    uLong crc = crc32(0L, Z_NULL, 0);
    const bool read = resources.ReadThrough(type, name, [&](Bytes chunk) {
        size += chunk.size();
        crc = crc32(crc, chunk.data(), static_cast<uInt>(chunk.size()));
        return size <= record.size;
    });
    return read && size == record.size && crc == record.crc;
}

}  // namespace

std::optional<std::string> FindDamagedResource(const Resources& resources, int file_count) {
    const auto records = ReadRecords(resources);
    if (!records || records->size() != static_cast<std::size_t>(file_count) + 2)
        return std::string(kChecksumResourceName);
    for (int i = 0; i < file_count; ++i) {
        const std::string name = PayloadResourceName(i);
        if (!Matches(resources, PayloadResourceType(i), name, (*records)[i])) return name;
    }
    if (!Matches(resources, kSkinResourceType, kSkinResourceName, (*records)[file_count]))
        return std::string(kSkinResourceName);
    if (!Matches(resources, kLicenceResourceType, kLicenceResourceName, (*records)[file_count + 1]))
        return std::string(kLicenceResourceName);
    return std::nullopt;
}

std::uint64_t UnpackedPayloadSize(const Resources& resources, int file_count) {
    std::uint64_t total = 0;
    for (int i = 0; i < file_count; ++i)
        if (auto bytes = resources.Find(PayloadResourceType(i), PayloadResourceName(i)))
            total += FramedLength(*bytes).value_or(0);
    return total;
}

}  // namespace setup
