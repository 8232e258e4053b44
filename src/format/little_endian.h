// Little-endian fields, as every table the installer reads and every executable file stores its
// numbers: read from and written into byte strings. Readers take the offset unchecked: callers
// check the range first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace setup::format {

// Fields of 1 to 4 bytes.
inline std::uint32_t LeAt(std::span<const std::uint8_t> b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= static_cast<std::uint32_t>(b[at + i]) << (8 * i);
    return v;
}
inline std::uint32_t LeAt(std::string_view b, std::size_t at, int bytes) {
    return LeAt({reinterpret_cast<const std::uint8_t*>(b.data()), b.size()}, at, bytes);
}
inline void PutLeAt(std::string& b, std::size_t at, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}
inline void AppendLe(std::string& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

inline void AppendLe32(std::string& out, std::uint32_t value) { AppendLe(out, value, 4); }
inline std::uint32_t Le32At(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return LeAt(bytes, offset, 4);
}

}  // namespace setup::format
