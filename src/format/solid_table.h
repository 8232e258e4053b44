// The solid payload: instead of one framed resource per entry, the entries in installation order
// are concatenated and cut into a few large blocks, each compressed as one stream and stored as
// its own resource. The block table says how to find every entry again:
//   "TSOL", codec id, block count B, entry count E,
//   B times: the block's compressed size and its size once decoded,
//   E times: the entry's block, its offset in the decoded block and its size,
// every number 32-bit little-endian. An entry lies within one block (a block ends where an entry
// does, or holds one large entry alone); entries follow each other in list order.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace setup::format {

inline constexpr char kSolidTableMagic[] = "TSOL";
inline constexpr char kSolidTableResourceType[] = "MyRes4";
inline constexpr char kSolidTableResourceName[] = "MainBlk";
// Block k is the resource of type "MyRes5" and name "MyBlock" followed by k padded to four digits.
inline constexpr char kSolidBlockResourceType[] = "MyRes5";
std::string SolidBlockResourceName(std::size_t block);

enum class SolidCodec : std::uint32_t { Zstd = 1, Lzma = 2 };
// The codec's name as setup-pack's --codec takes it, and back; nothing for an unknown one.
const char* SolidCodecName(SolidCodec codec);
std::optional<SolidCodec> SolidCodecNamed(std::string_view name);

// zstd: the decoder's window 8 MB (windowLog 23), what level 19 uses. A longer one saved 2 % on
// real binaries but needs that much more memory on every machine that installs.
inline constexpr int kZstdWindowLog = 23;
inline constexpr int kZstdLevel = 19;
// LZMA: a block is one stream as the .lzma format has it: 5 bytes of properties, the decoded
// size as 8 bytes (or all ones: unknown), the data, ended by the end marker. The dictionary is
// 8 MB, as NSIS uses: each decoder holds that much, and two decode at once.
inline constexpr std::uint32_t kLzmaDictionary = 8u << 20;
inline constexpr std::size_t kLzmaHeaderSize = 13;
// What a block holds once decoded, at most: its decoder never needs more than this at once.
inline constexpr std::uint32_t kMaxSolidBlock = 64u << 20;
// Where setup-pack cuts: a block is closed once it holds this much. LZMA loses more to a cut than
// zstd, so its blocks are larger: the payload in two (one for each core to decode), at least
// this much, at most kMaxSolidBlock.
inline constexpr std::uint32_t kSolidBlockTarget = 16u << 20;
std::uint32_t SolidBlockTarget(SolidCodec codec, std::uint64_t payload_size);

struct SolidBlock {
    std::uint32_t packed = 0, unpacked = 0;
    bool operator==(const SolidBlock&) const = default;
};
struct SolidEntry {
    std::uint32_t block = 0, offset = 0, size = 0;
    bool operator==(const SolidEntry&) const = default;
};
struct SolidTable {
    SolidCodec codec = SolidCodec::Zstd;
    std::vector<SolidBlock> blocks;
    std::vector<SolidEntry> entries;
    bool operator==(const SolidTable&) const = default;
};

std::string EncodeSolidTable(const SolidTable& table);

// The table, or why the bytes are not one this installer can read (an unknown codec, a block over
// kMaxSolidBlock, an entry outside its block or out of order, a size that does not add up).
struct SolidTableOrProblem {
    std::optional<SolidTable> table;
    std::string problem;
};
SolidTableOrProblem DecodeSolidTable(std::span<const std::uint8_t> bytes);

}  // namespace setup::format
