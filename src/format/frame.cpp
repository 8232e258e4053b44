#include "format/frame.h"

#include <zlib.h>

namespace setup::format {

void PutFrameLength(unsigned char* header, std::uint32_t length) {
    for (std::size_t i = 0; i < kFrameHeaderSize; ++i)
        header[i] = static_cast<unsigned char>(length >> (8 * i));
}

std::optional<std::uint32_t> FrameLength(std::span<const std::uint8_t> framed) {
    if (framed.size() < kFrameHeaderSize) return std::nullopt;
    return static_cast<std::uint32_t>(framed[0]) | static_cast<std::uint32_t>(framed[1]) << 8 |
           static_cast<std::uint32_t>(framed[2]) << 16 | static_cast<std::uint32_t>(framed[3]) << 24;
}

std::string FrameBytes(std::string_view content) {
    uLongf size = compressBound(static_cast<uLong>(content.size()));
    std::string framed(kFrameHeaderSize + size, '\0');
    PutFrameLength(reinterpret_cast<unsigned char*>(framed.data()),
                   static_cast<std::uint32_t>(content.size()));
    compress2(reinterpret_cast<Bytef*>(framed.data() + kFrameHeaderSize), &size,
              reinterpret_cast<const Bytef*>(content.data()), static_cast<uLong>(content.size()),
              kFrameLevel);
    framed.resize(kFrameHeaderSize + size);
    return framed;
}

}  // namespace setup::format
