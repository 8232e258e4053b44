#include "bmp.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace skingen {
namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;

void put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(v & 0xFF);
    out.push_back(v >> 8);
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back((v >> (8 * i)) & 0xFF);
}

}  // namespace

std::vector<std::uint8_t> encodeBmp(const Canvas& canvas) {
    const std::uint32_t w = canvas.width(), h = canvas.height();
    const std::uint32_t stride = (w * 3 + 3) & ~3u;
    const std::uint32_t imageSize = stride * h;
    const std::uint32_t offset = kFileHeaderSize + kInfoHeaderSize;

    std::vector<std::uint8_t> out;
    out.reserve(offset + imageSize);
    // BITMAPFILEHEADER
    put16(out, 0x4D42);  // "BM"
    put32(out, offset + imageSize);
    put32(out, 0);  // reserved
    put32(out, offset);
    // BITMAPINFOHEADER
    put32(out, kInfoHeaderSize);
    put32(out, w);
    put32(out, h);  // positive height: rows stored bottom-up
    put16(out, 1);  // planes
    put16(out, 24);
    put32(out, 0);  // BI_RGB
    put32(out, imageSize);
    put32(out, 2835);  // 72 dpi, horizontal and vertical
    put32(out, 2835);
    put32(out, 0);  // colours used
    put32(out, 0);  // important colours

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
