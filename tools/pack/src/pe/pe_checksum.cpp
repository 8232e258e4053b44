#include "pe/pe_checksum.h"

#include <cstddef>

namespace pack::pe {

namespace {

std::uint32_t AddWord(std::uint32_t sum, std::uint32_t word) {
    sum += word;
    return (sum & 0xFFFF) + (sum >> 16);
}

}  // namespace

void PeChecksum::Add(std::string_view bytes) {
    length_ += bytes.size();
    std::size_t i = 0;
    if (pending_ >= 0 && !bytes.empty()) {
        sum_ =
            AddWord(sum_, static_cast<std::uint32_t>(pending_) |
                              static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[0])) << 8);
        pending_ = -1;
        i = 1;
    }
    for (; i + 1 < bytes.size(); i += 2)
        sum_ = AddWord(sum_, static_cast<std::uint8_t>(bytes[i]) |
                                 static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[i + 1]))
                                     << 8);
    if (i < bytes.size()) pending_ = static_cast<std::uint8_t>(bytes[i]);
}

std::uint32_t PeChecksum::Finish() const {
    std::uint32_t sum = pending_ >= 0 ? AddWord(sum_, static_cast<std::uint32_t>(pending_)) : sum_;
    return sum + static_cast<std::uint32_t>(length_);
}

std::uint32_t ComputePeChecksum(std::string_view file, std::size_t checksum_at) {
    PeChecksum sum;
    if (checksum_at + 4 > file.size()) {
        sum.Add(file);
        return sum.Finish();
    }
    sum.Add(file.substr(0, checksum_at));
    sum.Add(std::string_view("\0\0\0\0", 4));
    sum.Add(file.substr(checksum_at + 4));
    return sum.Finish();
}

}  // namespace pack::pe
