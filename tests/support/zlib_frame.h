// Builds framed resources for tests: 4-byte little-endian length, then a zlib stream.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <string_view>
#include <vector>

namespace setup::testing {

inline std::vector<std::uint8_t> Frame(std::string_view content, std::uint32_t length) {
    uLongf size = compressBound(static_cast<uLong>(content.size()));
    std::vector<std::uint8_t> out(4 + size);
    compress2(out.data() + 4, &size, reinterpret_cast<const Bytef*>(content.data()),
              static_cast<uLong>(content.size()), Z_BEST_COMPRESSION);
    out.resize(4 + size);
    for (int i = 0; i < 4; ++i) out[i] = static_cast<std::uint8_t>(length >> (8 * i));
    return out;
}

inline std::vector<std::uint8_t> Frame(std::string_view content) {
    return Frame(content, static_cast<std::uint32_t>(content.size()));
}

}  // namespace setup::testing
