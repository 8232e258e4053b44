#include "bmp.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "bytes.h"

namespace skingen {
namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;

}  // namespace

std::vector<std::uint8_t> encodeBmp(const Canvas& canvas) {
    const std::uint32_t w = canvas.width(), h = canvas.height();
    const std::uint32_t stride = (w * 3 + 3) & ~3u;
    const std::uint32_t imageSize = stride * h;
    const std::uint32_t offset = kFileHeaderSize + kInfoHeaderSize;

    std::vector<std::uint8_t> out;
    out.reserve(offset + imageSize);
    // BITMAPFILEHEADER
    putLe16(out, 0x4D42);  // "BM"
    putLe32(out, offset + imageSize);
    putLe32(out, 0);  // reserved
    putLe32(out, offset);
    // BITMAPINFOHEADER
    putLe32(out, kInfoHeaderSize);
    putLe32(out, w);
    putLe32(out, h);  // positive height: rows stored bottom-up
    putLe16(out, 1);  // planes
    putLe16(out, 24);
    putLe32(out, 0);  // BI_RGB
    putLe32(out, imageSize);
    putLe32(out, 2835);  // 72 dpi, horizontal and vertical
    putLe32(out, 2835);
    putLe32(out, 0);  // colours used
    putLe32(out, 0);  // important colours

    for (int y = static_cast<int>(h) - 1; y >= 0; --y) {
        for (std::uint32_t x = 0; x < w; ++x) {
            const Rgb c = canvas.at(static_cast<int>(x), y);
            out.push_back(c.b);
            out.push_back(c.g);
            out.push_back(c.r);
        }
        out.resize(out.size() + (stride - w * 3), 0);
    }
    return out;
}

bool writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes,
               std::string& error) {
    const std::string temp = path + ".tmp";
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) {
        error = "cannot create " + temp + ": " + std::strerror(errno);
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    const bool closed = std::fclose(f) == 0;
    if (!written || !closed) {
        error = "cannot write " + temp + ": " + std::strerror(errno);
        std::remove(temp.c_str());
        return false;
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        error = "cannot rename " + temp + " to " + path + ": " + std::strerror(errno);
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace skingen
