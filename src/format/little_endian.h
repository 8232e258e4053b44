// 32-bit little-endian fields, as every table the installer reads stores its numbers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace setup::format {

inline void AppendLe32(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(value >> (8 * i)));
}

// The field at offset; the caller has checked that four bytes are there.
inline std::uint32_t Le32At(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint32_t>(bytes[offset]) |
           static_cast<std::uint32_t>(bytes[offset + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[offset + 2]) << 16 |
           static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
}

}  // namespace setup::format
