// Little-endian fields of executable files (format/little_endian.h) by the widths PE headers
// use, and the range and alignment arithmetic of their readers and writers.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "format/little_endian.h"

namespace pack::pe {

inline std::uint32_t Le(std::string_view b, std::size_t at, int bytes) {
    return setup::format::LeAt(b, at, bytes);
}
inline std::uint16_t Le16(std::string_view b, std::size_t at) {
    return static_cast<std::uint16_t>(Le(b, at, 2));
}
inline std::uint32_t Le32(std::string_view b, std::size_t at) {
    return Le(b, at, 4);
}
using setup::format::AppendLe;
inline void PutLe16(std::string& b, std::size_t at, std::uint32_t v) {
    setup::format::PutLeAt(b, at, v, 2);
}
inline void PutLe32(std::string& b, std::size_t at, std::uint32_t v) {
    setup::format::PutLeAt(b, at, v, 4);
}

// True when [at, at + size) lies inside a buffer of total bytes, without overflowing.
inline bool Fits(std::uint64_t at, std::uint64_t size, std::uint64_t total) {
    return at <= total && size <= total - at;
}

inline std::uint64_t AlignUp(std::uint64_t value, std::uint64_t alignment) {
    return (value + alignment - 1) / alignment * alignment;
}

// Offsets and addresses in problem texts, as dump tools show them.
inline std::string Hex(std::uint64_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
    return text;
}

}  // namespace pack::pe
