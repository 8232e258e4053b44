#include "checksums.h"

#include <zlib.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>

namespace fs = std::filesystem;

namespace pack {

namespace {

void AppendLe32(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

std::optional<std::string> BuildChecksums(const std::vector<fs::path>& framed, std::string& error) {
    std::string out = "TSUM";
    AppendLe32(out, static_cast<std::uint32_t>(framed.size()));
    std::vector<char> buffer(1 << 20);
    for (const fs::path& path : framed) {
        std::ifstream in(path, std::ios::binary);
        uLong crc = crc32(0L, Z_NULL, 0);
        std::uint64_t size = 0;
        while (in) {
            in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
            const auto got = static_cast<uInt>(in.gcount());
            crc = crc32(crc, reinterpret_cast<const Bytef*>(buffer.data()), got);
            size += got;
        }
        if (!in.eof() || size > UINT32_MAX) {
            error = "cannot read " + path.string() + ": " + std::strerror(errno);
            return std::nullopt;
        }
        AppendLe32(out, static_cast<std::uint32_t>(size));
        AppendLe32(out, static_cast<std::uint32_t>(crc));
    }
    return out;
}

}  // namespace pack
