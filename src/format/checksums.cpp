#include "format/checksums.h"

#include <zlib.h>

#include <cstring>

#include "format/little_endian.h"

namespace setup::format {

std::string EncodeChecksums(const std::vector<ChecksumRecord>& records) {
    std::string out = kChecksumMagic;
    AppendLe32(out, static_cast<std::uint32_t>(records.size()));
    for (const ChecksumRecord& record : records) {
        AppendLe32(out, record.size);
        AppendLe32(out, record.crc);
        AppendLe32(out, record.unpacked);
    }
    return out;
}

std::optional<std::vector<ChecksumRecord>> DecodeChecksums(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 8 || std::memcmp(bytes.data(), kChecksumMagic, 4) != 0) return std::nullopt;
    const std::uint32_t count = Le32At(bytes, 4);
    constexpr std::size_t kRecord = 12;
    if ((bytes.size() - 8) % kRecord != 0 || (bytes.size() - 8) / kRecord != count)
        return std::nullopt;
    std::vector<ChecksumRecord> records(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t at = 8 + kRecord * i;
        records[i] = {Le32At(bytes, at), Le32At(bytes, at + 4), Le32At(bytes, at + 8)};
    }
    return records;
}

std::uint32_t Crc32(std::uint32_t crc, std::span<const std::uint8_t> chunk) {
    // zlib takes at most 4 GiB at once; chunks here are far smaller.
    return static_cast<std::uint32_t>(crc32(crc, chunk.data(), static_cast<uInt>(chunk.size())));
}

}  // namespace setup::format
