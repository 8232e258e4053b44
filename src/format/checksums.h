// The checksum resource that lets the installer find a damaged download before it shows anything,
// and the table of its payload's sizes: "TSUM", the record count, then per record the framed
// size, the CRC-32 of the framed bytes and the size once unpacked, all 32-bit little-endian. One
// record per payload entry in list order, then the skin atlas, then the licence. The installer
// reads the sizes here rather than from the frames, so that nothing of the payload is touched
// before it is installed.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace setup::format {

inline constexpr char kChecksumMagic[] = "TSUM";

struct ChecksumRecord {
    std::uint32_t size = 0;      // of the framed resource
    std::uint32_t crc = 0;       // of the framed resource
    std::uint32_t unpacked = 0;  // the length its frame announces
    bool operator==(const ChecksumRecord&) const = default;
};

// Records for the payload entries and then the skin and the licence: count + 2 in all.
inline constexpr std::size_t ChecksumRecordCount(std::size_t payload_entries) {
    return payload_entries + 2;
}

std::string EncodeChecksums(const std::vector<ChecksumRecord>& records);
// Nothing when the bytes are not a checksum resource.
std::optional<std::vector<ChecksumRecord>> DecodeChecksums(std::span<const std::uint8_t> bytes);

// CRC-32 (zlib's) carried on over the next chunk; start with crc 0.
std::uint32_t Crc32(std::uint32_t crc, std::span<const std::uint8_t> chunk);

}  // namespace setup::format
