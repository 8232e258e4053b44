// Little-endian fields of executable files, read from and written into byte strings. Readers
// take the offset unchecked: callers check the range against the file first.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace pack::pe {

inline std::uint32_t Le(std::string_view b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = 0; i < bytes; ++i)
        v |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + i])) << (8 * i);
    return v;
}
inline std::uint16_t Le16(std::string_view b, std::size_t at) {
    return static_cast<std::uint16_t>(Le(b, at, 2));
}
inline std::uint32_t Le32(std::string_view b, std::size_t at) {
    return Le(b, at, 4);
}

inline void PutLe(std::string& b, std::size_t at, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}
inline void PutLe16(std::string& b, std::size_t at, std::uint32_t v) {
    PutLe(b, at, v, 2);
}
inline void PutLe32(std::string& b, std::size_t at, std::uint32_t v) {
    PutLe(b, at, v, 4);
}
inline void AppendLe(std::string& b, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b += static_cast<char>((v >> (8 * i)) & 0xFF);
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
