// A small PNG reader for the tests, written apart from the encoder: it checks every chunk's
// CRC and undoes all five row filters, so a fault on either side shows up as a mismatch.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace testpng {

struct Image {
    std::string error;  // empty when the file read cleanly
    std::uint32_t width = 0, height = 0;
    int bitDepth = 0, colourType = 0, interlace = 0;
    std::vector<std::string> chunks;  // chunk types in file order
    std::set<int> filters;            // row filter types met
    std::vector<std::uint8_t> rgba;   // 4 bytes a pixel, rows top-down
};

inline std::uint32_t be32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} << 24 | p[1] << 16 | p[2] << 8 | p[3];
}

inline int paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

// Undoes the row filters in place; rows hold a filter byte then width * 4 bytes.
inline bool unfilter(Image& img, const std::vector<std::uint8_t>& raw) {
    const size_t stride = img.width * 4;
    std::vector<std::uint8_t> above(stride, 0);
    for (std::uint32_t y = 0; y < img.height; ++y) {
        const std::uint8_t* line = raw.data() + y * (stride + 1);
        const int type = line[0];
        if (type > 4) return false;
        img.filters.insert(type);
        std::vector<std::uint8_t> row(line + 1, line + 1 + stride);
        for (size_t i = 0; i < stride; ++i) {
            const int a = i >= 4 ? row[i - 4] : 0, b = above[i], c = i >= 4 ? above[i - 4] : 0;
            const int add = type == 1   ? a
                            : type == 2 ? b
                            : type == 3 ? (a + b) / 2
                            : type == 4 ? paeth(a, b, c)
                                        : 0;
            row[i] = static_cast<std::uint8_t>(row[i] + add);
        }
        img.rgba.insert(img.rgba.end(), row.begin(), row.end());
        above = row;
    }
    return true;
}

inline Image read(const std::vector<std::uint8_t>& b) {
    Image img;
    const std::uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (b.size() < 8 || !std::equal(signature, signature + 8, b.begin()))
        return img.error = "no PNG signature", img;
    std::vector<std::uint8_t> idat;
    for (size_t at = 8; at < b.size();) {
        if (b.size() - at < 12) return img.error = "truncated chunk", img;
        const std::uint32_t len = be32(&b[at]);
        if (b.size() - at - 12 < len) return img.error = "chunk overruns the file", img;
        const std::string type(b.begin() + at + 4, b.begin() + at + 8);
        const std::uint8_t* data = &b[at + 8];
        if (crc32(0, &b[at + 4], len + 4) != be32(data + len))
            return img.error = "bad CRC on " + type, img;
        img.chunks.push_back(type);
        if (type == "IHDR" && len == 13) {
            img.width = be32(data), img.height = be32(data + 4);
            img.bitDepth = data[8], img.colourType = data[9], img.interlace = data[12];
        }
        if (type == "IDAT") idat.insert(idat.end(), data, data + len);
        at += 12 + len;
    }
    if (img.bitDepth != 8 || img.colourType != 6) return img.error = "not 8-bit RGBA", img;
    const size_t expected = img.height * (img.width * 4 + 1);
    std::vector<std::uint8_t> raw(expected + 1);  // one spare byte reveals surplus data
    uLongf got = raw.size();
    if (uncompress(raw.data(), &got, idat.data(), idat.size()) != Z_OK || got != expected)
        return img.error = "image data does not inflate to the expected size", img;
    if (!unfilter(img, raw)) img.error = "unknown row filter";
    return img;
}

}  // namespace testpng
