#include "bmp_check.h"

#include <cstdint>

namespace pack {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;

std::uint32_t U32(std::string_view b, std::size_t at) {
    auto byte = [&](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + i]));
    };
    return byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
}
std::uint16_t U16(std::string_view b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(b[at]) |
                                      static_cast<std::uint8_t>(b[at + 1]) << 8);
}

BmpCheck Fail(std::string why) {
    return {std::nullopt, std::move(why)};
}

}  // namespace

BmpCheck CheckSkinBitmap(std::string_view b) {
    if (b.size() < kFileHeaderSize + kInfoHeaderSize || b.substr(0, 2) != "BM")
        return Fail("not a Windows bitmap file (no \"BM\" header)");
    const std::uint32_t stated_size = U32(b, 2);
    const std::uint32_t pixel_offset = U32(b, 10);
    const std::uint32_t info_size = U32(b, 14);
    const auto width = static_cast<std::int32_t>(U32(b, 18));
    const auto height = static_cast<std::int32_t>(U32(b, 22));
    const std::uint16_t planes = U16(b, 26);
    const std::uint16_t bits = U16(b, 28);
    const std::uint32_t compression = U32(b, 30);

    if (info_size < kInfoHeaderSize || kFileHeaderSize + info_size > b.size())
        return Fail("unknown bitmap information header of " + std::to_string(info_size) + " bytes");
    if (bits != 24) return Fail(std::to_string(bits) + " bits per pixel; 24 are needed");
    if (compression != 0) return Fail("compressed bitmap; an uncompressed (BI_RGB) one is needed");
    if (planes != 1) return Fail(std::to_string(planes) + " colour planes; 1 is needed");
    if (width <= 0) return Fail("width " + std::to_string(width));
    if (height <= 0)
        return Fail("height " + std::to_string(height) + "; rows must be stored bottom-up");
    if (stated_size != b.size())
        return Fail("the header states " + std::to_string(stated_size) +
                    " bytes but the file has " + std::to_string(b.size()));
    const std::uint64_t row = (static_cast<std::uint64_t>(width) * 3 + 3) / 4 * 4;
    const std::uint64_t needed = pixel_offset + row * static_cast<std::uint64_t>(height);
    if (pixel_offset < kFileHeaderSize + info_size || needed > b.size())
        return Fail("pixel data does not fit: " + std::to_string(width) + " x " +
                    std::to_string(height) + " needs " + std::to_string(needed) +
                    " bytes from offset " + std::to_string(pixel_offset) + ", the file has " +
                    std::to_string(b.size()));
    return {BmpInfo{width, height}, {}};
}

}  // namespace pack
