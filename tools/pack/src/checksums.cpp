#include "checksums.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>

#include "format/checksums.h"
#include "format/frame.h"

namespace fs = std::filesystem;

namespace pack {

std::optional<std::string> BuildChecksums(const std::vector<fs::path>& framed, std::string& error,
                                          std::vector<setup::format::ChecksumRecord> leading) {
    std::vector<setup::format::ChecksumRecord> records = std::move(leading);
    std::vector<char> buffer(1 << 20);
    for (const fs::path& path : framed) {
        std::ifstream in(path, std::ios::binary);
        std::uint32_t crc = 0, unpacked = 0;
        std::uint64_t size = 0;
        while (in) {
            in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
            const auto got = static_cast<std::size_t>(in.gcount());
            const std::span<const std::uint8_t> chunk(
                reinterpret_cast<const std::uint8_t*>(buffer.data()), got);
            if (size == 0) unpacked = setup::format::FrameLength(chunk).value_or(0);
            crc = setup::format::Crc32(crc, chunk);
            size += got;
        }
        if (!in.eof() || size > UINT32_MAX) {
            error = "cannot read " + path.string() + ": " + std::strerror(errno);
            return std::nullopt;
        }
        records.push_back({static_cast<std::uint32_t>(size), crc, unpacked});
    }
    return setup::format::EncodeChecksums(records);
}

}  // namespace pack
