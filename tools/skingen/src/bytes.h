// Fixed-width integers appended to a byte buffer: BMP and ICO headers are little-endian,
// PNG chunks big-endian.
#pragma once

#include <cstdint>
#include <vector>

namespace skingen {

inline void putLe16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(v & 0xFF);
    out.push_back(v >> 8);
}

inline void putLe32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back((v >> (8 * i)) & 0xFF);
}

inline void putBe32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 3; i >= 0; --i) out.push_back((v >> (8 * i)) & 0xFF);
}

}  // namespace skingen
