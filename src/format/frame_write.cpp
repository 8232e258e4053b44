// Framing is the builder's side of the frame; kept out of frame.cpp so the installer, which only
// reads frames, does not link zlib's deflate.
#include "format/frame.h"

#include <stdexcept>

#include <zlib.h>

namespace setup::format {

std::string FrameBytes(std::string_view content) {
    uLongf size = compressBound(static_cast<uLong>(content.size()));
    std::string framed(kFrameHeaderSize + size, '\0');
    PutFrameLength(reinterpret_cast<unsigned char*>(framed.data()),
                   static_cast<std::uint32_t>(content.size()));
    if (compress2(reinterpret_cast<Bytef*>(framed.data() + kFrameHeaderSize), &size,
                  reinterpret_cast<const Bytef*>(content.data()),
                  static_cast<uLong>(content.size()), kFrameLevel) != Z_OK)
        throw std::runtime_error("zlib could not compress a resource");
    framed.resize(kFrameHeaderSize + size);
    return framed;
}

}  // namespace setup::format
