#include "png.h"

#include <zlib.h>

#include <cstdlib>
#include <stdexcept>
#include <string_view>

#include "bytes.h"

namespace skingen {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kChannels = 4;

Bytes rgbaRow(const Canvas& canvas, int y) {
    Bytes row;
    row.reserve(static_cast<size_t>(canvas.width()) * kChannels);
    for (int x = 0; x < canvas.width(); ++x) {
        const Rgb c = canvas.at(x, y);
        row.insert(row.end(), {c.r, c.g, c.b, canvas.alphaAt(x, y)});
    }
    return row;
}

int paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) return a;
    return pb <= pc ? b : c;
}

// Applies PNG filter `type` (0 none, 1 sub, 2 up, 3 average, 4 Paeth) to one row.
Bytes filterRow(int type, const Bytes& row, const Bytes& above) {
    Bytes out(row.size());
    for (size_t i = 0; i < row.size(); ++i) {
        const int a = i >= kChannels ? row[i - kChannels] : 0;
        const int b = above[i];
        const int c = i >= kChannels ? above[i - kChannels] : 0;
        const int predicted = type == 1   ? a
                              : type == 2 ? b
                              : type == 3 ? (a + b) / 2
                              : type == 4 ? paeth(a, b, c)
                                          : 0;
        out[i] = static_cast<std::uint8_t>(row[i] - predicted);
    }
    return out;
}

// The usual per-row choice: the filter whose output, read as signed bytes, sums smallest in
// magnitude, which tends to deflate best.
void appendFilteredRow(Bytes& out, const Bytes& row, const Bytes& above) {
    Bytes best;
    int bestType = 0;
    long bestCost = -1;
    for (int type = 0; type <= 4; ++type) {
        Bytes filtered = filterRow(type, row, above);
        long cost = 0;
        for (const std::uint8_t v : filtered) cost += std::abs(static_cast<std::int8_t>(v));
        if (bestCost < 0 || cost < bestCost) {
            bestCost = cost;
            bestType = type;
            best = std::move(filtered);
        }
    }
    out.push_back(static_cast<std::uint8_t>(bestType));
    out.insert(out.end(), best.begin(), best.end());
}

Bytes deflate(const Bytes& raw) {
    uLongf size = compressBound(raw.size());
    Bytes out(size);
    if (compress2(out.data(), &size, raw.data(), raw.size(), Z_BEST_COMPRESSION) != Z_OK)
        throw std::runtime_error("zlib could not compress the PNG image data");
    out.resize(size);
    return out;
}

void appendChunk(Bytes& png, std::string_view type, const Bytes& data) {
    putBe32(png, static_cast<std::uint32_t>(data.size()));
    const size_t typeAt = png.size();
    png.insert(png.end(), type.begin(), type.end());
    png.insert(png.end(), data.begin(), data.end());
    // The CRC covers the type and the data, not the length.
    const uLong crc = crc32(0, png.data() + typeAt, static_cast<uInt>(png.size() - typeAt));
    putBe32(png, static_cast<std::uint32_t>(crc));
}

}  // namespace

std::vector<std::uint8_t> encodePng(const Canvas& canvas) {
    Bytes raw;
    Bytes above(static_cast<size_t>(canvas.width()) * kChannels, 0);
    for (int y = 0; y < canvas.height(); ++y) {
        Bytes row = rgbaRow(canvas, y);
        appendFilteredRow(raw, row, above);
        above = std::move(row);
    }

    Bytes header;
    putBe32(header, static_cast<std::uint32_t>(canvas.width()));
    putBe32(header, static_cast<std::uint32_t>(canvas.height()));
    // 8 bits per channel, colour type 6 (RGBA), deflate, adaptive filters, no interlace.
    header.insert(header.end(), {8, 6, 0, 0, 0});

    Bytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    appendChunk(png, "IHDR", header);
    appendChunk(png, "IDAT", deflate(raw));
    appendChunk(png, "IEND", {});
    return png;
}

}  // namespace skingen
