#include "ico.h"

#include <stdexcept>
#include <string>

#include "bytes.h"
#include "png.h"

namespace skingen {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kDirSize = 6;
constexpr std::uint32_t kEntrySize = 16;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr int kPngFrom = 256;

// The mask's rows are padded to whole 32-bit words.
std::uint32_t maskStride(int width) {
    return (static_cast<std::uint32_t>(width) + 31) / 32 * 4;
}

// BITMAPINFOHEADER, colour rows bottom-up, then the AND mask: a set bit lets the screen show
// through, so it is set exactly where the image is fully transparent.
Bytes encodeDib(const Canvas& image) {
    const int w = image.width(), h = image.height();
    const std::uint32_t colourSize = static_cast<std::uint32_t>(w) * h * 4;
    const std::uint32_t maskSize = maskStride(w) * h;
    Bytes out;
    out.reserve(kInfoHeaderSize + colourSize + maskSize);
    putLe32(out, kInfoHeaderSize);
    putLe32(out, w);
    putLe32(out, 2 * h);  // colour rows and mask rows together
    putLe16(out, 1);      // planes
    putLe16(out, 32);     // bits per pixel
    putLe32(out, 0);      // BI_RGB
    putLe32(out, colourSize + maskSize);
    for (int i = 0; i < 4; ++i) putLe32(out, 0);  // resolution and palette: unused in icons

    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            const Rgb c = image.at(x, y);
            out.insert(out.end(), {c.b, c.g, c.r, image.alphaAt(x, y)});
        }
    }
    for (int y = h - 1; y >= 0; --y) {
        Bytes row(maskStride(w), 0);
        for (int x = 0; x < w; ++x)
            if (image.alphaAt(x, y) == 0) row[x / 8] |= 0x80 >> (x % 8);
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

void checkSize(const Canvas& image) {
    const int size = image.width();
    if (size != image.height() || size < 1 || size > 256)
        throw std::invalid_argument("icon images must be square, 1 to 256 px; got " +
                                    std::to_string(image.width()) + " x " +
                                    std::to_string(image.height()));
}

}  // namespace

std::vector<std::uint8_t> encodeIco(const std::vector<Canvas>& images) {
    std::vector<Bytes> bodies;
    for (const Canvas& image : images) {
        checkSize(image);
        bodies.push_back(image.width() >= kPngFrom ? encodePng(image) : encodeDib(image));
    }

    Bytes out;
    putLe16(out, 0);  // reserved
    putLe16(out, 1);  // icon, not cursor
    putLe16(out, static_cast<std::uint16_t>(images.size()));
    std::uint32_t offset = kDirSize + kEntrySize * static_cast<std::uint32_t>(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        const int size = images[i].width();
        // A byte holds the width and height; 0 stands for 256.
        out.push_back(static_cast<std::uint8_t>(size % 256));
        out.push_back(static_cast<std::uint8_t>(size % 256));
        out.push_back(0);  // no palette
        out.push_back(0);  // reserved
        putLe16(out, 1);   // planes
        putLe16(out, 32);  // bits per pixel
        putLe32(out, static_cast<std::uint32_t>(bodies[i].size()));
        putLe32(out, offset);
        offset += static_cast<std::uint32_t>(bodies[i].size());
    }
    for (const Bytes& body : bodies) out.insert(out.end(), body.begin(), body.end());
    return out;
}

}  // namespace skingen
