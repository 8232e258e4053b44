#include "format/frame.h"

#include "format/little_endian.h"

namespace setup::format {

void PutFrameLength(unsigned char* header, std::uint32_t length) {
    for (std::size_t i = 0; i < kFrameHeaderSize; ++i)
        header[i] = static_cast<unsigned char>(length >> (8 * i));
}

std::optional<std::uint32_t> FrameLength(std::span<const std::uint8_t> framed) {
    if (framed.size() < kFrameHeaderSize) return std::nullopt;
    return Le32At(framed, 0);
}

}  // namespace setup::format
