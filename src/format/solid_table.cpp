#include "format/solid_table.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "format/little_endian.h"

namespace setup::format {

namespace {

constexpr std::size_t kHeaderSize = 16, kBlockRecord = 8, kEntryRecord = 12;

SolidTableOrProblem Refused(std::string why) {
    return {std::nullopt, std::move(why)};
}

// Entries follow each other: each starts where the one before ended, or at the start of a later
// block, and none reaches past its block's end.
std::string CheckEntries(const SolidTable& t) {
    std::uint64_t block = 0, end = 0;
    for (const SolidEntry& e : t.entries) {
        if (e.block >= t.blocks.size()) return "an entry names a block that is not there";
        if (e.block != block) {
            if (e.block < block || end != t.blocks[block].unpacked || e.offset != 0)
                return "the entries do not follow each other";
            block = e.block;
        } else if (e.offset != end) {
            return "the entries do not follow each other";
        }
        end = std::uint64_t{e.offset} + e.size;
        if (end > t.blocks[block].unpacked) return "an entry reaches past its block";
    }
    if (!t.blocks.empty() && (block + 1 != t.blocks.size() || end != t.blocks.back().unpacked))
        return "the blocks hold more than the entries";
    return {};
}

}  // namespace

std::string SolidBlockResourceName(std::size_t block) {
    char name[32];
    std::snprintf(name, sizeof name, "MyBlock%04zu", block);
    return name;
}

const char* SolidCodecName(SolidCodec codec) {
    return codec == SolidCodec::Lzma ? "lzma" : "zstd";
}

std::optional<SolidCodec> SolidCodecNamed(std::string_view name) {
    if (name == "zstd") return SolidCodec::Zstd;
    if (name == "lzma") return SolidCodec::Lzma;
    return std::nullopt;
}

std::uint32_t SolidBlockTarget(SolidCodec codec, std::uint64_t payload_size) {
    if (codec != SolidCodec::Lzma) return kSolidBlockTarget;
    const std::uint64_t half = (payload_size + 1) / 2;
    return static_cast<std::uint32_t>(
        std::clamp<std::uint64_t>(half, kSolidBlockTarget, kMaxSolidBlock));
}

std::string EncodeSolidTable(const SolidTable& t) {
    std::string out(kSolidTableMagic, 4);
    AppendLe32(out, static_cast<std::uint32_t>(t.codec));
    AppendLe32(out, static_cast<std::uint32_t>(t.blocks.size()));
    AppendLe32(out, static_cast<std::uint32_t>(t.entries.size()));
    for (const SolidBlock& b : t.blocks) {
        AppendLe32(out, b.packed);
        AppendLe32(out, b.unpacked);
    }
    for (const SolidEntry& e : t.entries) {
        AppendLe32(out, e.block);
        AppendLe32(out, e.offset);
        AppendLe32(out, e.size);
    }
    return out;
}

SolidTableOrProblem DecodeSolidTable(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kHeaderSize || std::memcmp(bytes.data(), kSolidTableMagic, 4) != 0)
        return Refused("not a block table");
    const std::uint32_t codec = Le32At(bytes, 4);
    if (codec != static_cast<std::uint32_t>(SolidCodec::Zstd) &&
        codec != static_cast<std::uint32_t>(SolidCodec::Lzma))
        return Refused("codec " + std::to_string(codec) + " is not one this installer decodes");
    const std::uint64_t blocks = Le32At(bytes, 8), entries = Le32At(bytes, 12);
    if (bytes.size() != kHeaderSize + blocks * kBlockRecord + entries * kEntryRecord)
        return Refused("the block table's size does not match its counts");
    SolidTable t;
    t.codec = static_cast<SolidCodec>(codec);
    std::size_t at = kHeaderSize;
    for (std::uint64_t i = 0; i < blocks; ++i, at += kBlockRecord) {
        t.blocks.push_back({Le32At(bytes, at), Le32At(bytes, at + 4)});
        if (t.blocks.back().unpacked > kMaxSolidBlock)
            return Refused("a block claims more than any block may hold");
    }
    for (std::uint64_t i = 0; i < entries; ++i, at += kEntryRecord)
        t.entries.push_back({Le32At(bytes, at), Le32At(bytes, at + 4), Le32At(bytes, at + 8)});
    if (std::string why = CheckEntries(t); !why.empty()) return Refused(why);
    return {std::move(t), {}};
}

}  // namespace setup::format
