// The frame of every resource the installer unpacks: the 4-byte little-endian length N of the
// content, then the content as one zlib stream (level 9) that inflates to exactly N bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace setup::format {

inline constexpr std::size_t kFrameHeaderSize = 4;
inline constexpr int kFrameLevel = 9;  // Z_BEST_COMPRESSION
// Deflate cannot expand beyond about 1032:1; a larger length is damage, not a file to allocate.
inline constexpr std::uint64_t kMaxExpansion = 1032;

// The header of a content of that length.
void PutFrameLength(unsigned char* header, std::uint32_t length);
// The length N a framed resource announces; nothing when it is shorter than its header.
std::optional<std::uint32_t> FrameLength(std::span<const std::uint8_t> framed);

// Frames a content held in memory.
std::string FrameBytes(std::string_view content);

}  // namespace setup::format
