// The optional header's CheckSum, computed as the system's image helper does: the file is read
// as little-endian 16-bit words (an odd last byte is a word with a zero high byte), the
// CheckSum field itself counting as zero; the words are added with end-around carry (any carry
// out of 16 bits is added back in), and the file's length in bytes is added to the 16-bit result.
#pragma once

#include <cstdint>
#include <string_view>

namespace pack::pe {

// Sums a file streamed in pieces of any size; the CheckSum field must be zero in what is added.
class PeChecksum {
public:
    void Add(std::string_view bytes);
    std::uint32_t Finish() const;

private:
    std::uint32_t sum_ = 0;
    std::uint64_t length_ = 0;
    int pending_ = -1;  // the low byte of a word split between two pieces
};

// The checksum of a whole file whose CheckSum field lies at checksum_at.
std::uint32_t ComputePeChecksum(std::string_view file, std::size_t checksum_at);

}  // namespace pack::pe
