// The solid payload: its block table, and blocks decoded back into their entries; damage of any
// kind is refused with an error, never a crash or a wrong file.
#include <zstd.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/solid_block.h"
#include "doubles/memory_resources.h"
#include "format/solid_table.h"
#include "platform/error.h"

namespace setup {
namespace {

using format::SolidTable;

std::vector<std::uint8_t> Compress(const std::string& text, int level = 19) {
    std::vector<std::uint8_t> out(ZSTD_compressBound(text.size()));
    const std::size_t n = ZSTD_compress(out.data(), out.size(), text.data(), text.size(), level);
    out.resize(n);
    return out;
}

std::vector<std::uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

// Two blocks: "alpha" and an empty entry in the first, "beta beta beta" in the second.
struct Solid {
    MemoryResources resources;
    SolidTable table;
    std::vector<std::string> entries{"alpha", "", "beta beta beta"};
    Solid() {
        const std::vector<std::string> blocks{"alpha", "beta beta beta"};
        for (std::size_t k = 0; k < blocks.size(); ++k) {
            std::vector<std::uint8_t> packed = Compress(blocks[k]);
            table.blocks.push_back({static_cast<std::uint32_t>(packed.size()),
                                    static_cast<std::uint32_t>(blocks[k].size())});
            resources.SetResource(format::kSolidBlockResourceType,
                                  format::SolidBlockResourceName(k), std::move(packed));
        }
        table.entries = {{0, 0, 5}, {0, 5, 0}, {1, 0, 14}};
        resources.SetResource(format::kSolidTableResourceType, format::kSolidTableResourceName,
                              Bytes(format::EncodeSolidTable(table)));
    }
};

// Every entry of every block, as the read-ahead sees them.
std::vector<std::string> DecodeAll(const Resources& resources, const SolidTable& table) {
    std::vector<std::string> out(table.entries.size());
    std::vector<bool> ended(table.entries.size());
    for (std::size_t k = 0; k < table.blocks.size(); ++k)
        DecodeBlockEntries(resources, table, k, [&](std::size_t i, setup::Bytes chunk, bool last) {
            EXPECT_FALSE(ended[i]);
            out[i].append(chunk.begin(), chunk.end());
            ended[i] = last;
            return true;
        });
    for (bool e : ended) EXPECT_TRUE(e);
    return out;
}

TEST(SolidTable, RoundTripsAndReadsBackFromTheResource) {
    Solid s;
    EXPECT_EQ(format::DecodeSolidTable(Bytes(format::EncodeSolidTable(s.table))).table, s.table);
    EXPECT_EQ(ReadSolidTable(s.resources), s.table);
    EXPECT_FALSE(ReadSolidTable(MemoryResources()));  // an installer of framed entries
}

TEST(SolidTable, RefusesUnknownCodecsAndInconsistentLayouts) {
    Solid s;
    auto refused = [](SolidTable t, const char* why) {
        const auto decoded = format::DecodeSolidTable(Bytes(format::EncodeSolidTable(t)));
        EXPECT_FALSE(decoded.table) << why;
        EXPECT_NE(decoded.problem.find(why), std::string::npos) << decoded.problem;
    };
    SolidTable t = s.table;
    t.codec = static_cast<format::SolidCodec>(7);
    refused(t, "codec 7 is not one");
    t = s.table;
    t.blocks[0].unpacked = format::kMaxSolidBlock + 1;
    refused(t, "claims more");
    t = s.table;
    t.entries[2].block = 2;
    refused(t, "not there");
    t = s.table;
    t.entries[2].size = 15;
    refused(t, "past its block");
    t = s.table;
    t.entries[1].offset = 4;
    refused(t, "do not follow");
    t = s.table;
    t.entries.pop_back();
    refused(t, "hold more");
    std::string cut = format::EncodeSolidTable(s.table);
    for (std::size_t n = 0; n < cut.size(); ++n)
        EXPECT_FALSE(format::DecodeSolidTable(Bytes(cut.substr(0, n))).table) << n;
}

TEST(SolidBlock, EveryEntryComesBackWholeAndAloneOnRequest) {
    Solid s;
    EXPECT_EQ(DecodeAll(s.resources, s.table), s.entries);
    for (std::size_t i = 0; i < s.entries.size(); ++i) {
        std::string one;
        int calls = 0;
        EXPECT_TRUE(UnpackSolidEntryTo(s.resources, s.table, i, [&](setup::Bytes chunk) {
            ++calls;
            one.append(chunk.begin(), chunk.end());
            return true;
        }));
        EXPECT_EQ(one, s.entries[i]);
        EXPECT_GE(calls, 1);  // an empty entry is announced too, as an empty chunk
    }
}

TEST(SolidBlock, ALargeBlockArrivesInBoundedChunks) {
    std::string big;
    for (int i = 0; big.size() < (3u << 20); ++i) big += std::to_string(i * 7919) + ",";
    MemoryResources r;
    std::vector<std::uint8_t> packed = Compress(big, 1);
    SolidTable t{format::SolidCodec::Zstd,
                 {{static_cast<std::uint32_t>(packed.size()), static_cast<std::uint32_t>(big.size())}},
                 {{0, 0, static_cast<std::uint32_t>(big.size())}}};
    r.SetResource(format::kSolidBlockResourceType, format::SolidBlockResourceName(0), packed);
    std::size_t largest = 0;
    std::string out;
    DecodeBlockEntries(r, t, 0, [&](std::size_t, setup::Bytes chunk, bool) {
        largest = std::max(largest, chunk.size());
        out.append(chunk.begin(), chunk.end());
        return true;
    });
    EXPECT_EQ(out, big);
    EXPECT_LE(largest, 256u * 1024);
}

// Each truncation and each single-byte change of a block either decodes to the very bytes or is
// refused with the library's error: never another content, never a crash.
TEST(SolidBlock, EveryTruncationAndByteChangeIsRefusedOrHarmless) {
    Solid s;
    const setup::Bytes found = *s.resources.Find(format::kSolidBlockResourceType,
                                                 format::SolidBlockResourceName(1));
    const std::vector<std::uint8_t> good(found.begin(), found.end());
    auto attempt = [&](std::vector<std::uint8_t> block) {
        MemoryResources r = s.resources;
        SolidTable t = s.table;
        t.blocks[1].packed = static_cast<std::uint32_t>(block.size());
        r.SetResource(format::kSolidBlockResourceType, format::SolidBlockResourceName(1), block);
        try {
            return DecodeAll(r, t) == s.entries;
        } catch (const RuntimeError&) {
            return false;
        }
    };
    for (std::size_t n = 0; n < good.size(); ++n) EXPECT_FALSE(attempt({good.begin(), good.begin() + n})) << n;
    for (std::size_t i = 0; i < good.size(); ++i)
        for (std::uint8_t flip : {0x01, 0x80, 0xff}) {
            std::vector<std::uint8_t> bad = good;
            bad[i] ^= flip;
            attempt(bad);  // must not crash; a changed content is caught by the checksums
        }
}

TEST(SolidBlock, ABlockThatGivesMoreOrLessThanItsTableSaysIsRefused) {
    Solid s;
    for (std::uint32_t claimed : {13u, 15u}) {
        SolidTable t = s.table;
        t.blocks[1].unpacked = claimed;
        t.entries[2].size = claimed;
        EXPECT_THROW(DecodeAll(s.resources, t), RuntimeError) << claimed;
    }
    SolidTable t = s.table;
    t.blocks[1].packed += 1;  // the table promises a byte the resource does not hold
    EXPECT_THROW(DecodeAll(s.resources, t), RuntimeError);
    EXPECT_THROW(DecodeBlockEntries(MemoryResources(), s.table, 0,
                                    [](std::size_t, setup::Bytes, bool) { return true; }),
                 RuntimeError);
}

}  // namespace
}  // namespace setup
