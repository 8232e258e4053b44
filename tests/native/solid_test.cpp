// The solid payload: its block table, and blocks decoded back into their entries; damage of any
// kind is refused with an error, never a crash or a wrong file.
#include <lzma.h>
#include <zstd.h>

#include <gtest/gtest.h>

#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "data/payload_check.h"
#include "data/solid_block.h"
#include "doubles/memory_resources.h"
#include "format/checksums.h"
#include "format/resource_ids.h"
#include "format/solid_table.h"
#include "install/entry_contents.h"
#include "platform/error.h"

namespace setup {
namespace {

using format::SolidTable;

using format::SolidCodec;

// As setup-pack compresses: zstd with the content checksum, so a changed byte is found by
// decoding; LZMA in the .lzma format with its end marker, with the given dictionary.
std::vector<std::uint8_t> Compress(SolidCodec codec, const std::string& text, int level = 19,
                                   std::uint32_t dictionary = format::kLzmaDictionary) {
    if (codec == SolidCodec::Lzma) {
        lzma_options_lzma options;
        lzma_lzma_preset(&options, level >= 9 ? 9 : static_cast<std::uint32_t>(level));
        options.dict_size = dictionary;
        std::vector<std::uint8_t> out(text.size() + text.size() / 2 + 4096);
        lzma_stream stream = LZMA_STREAM_INIT;
        EXPECT_EQ(lzma_alone_encoder(&stream, &options), LZMA_OK);
        stream.next_in = reinterpret_cast<const std::uint8_t*>(text.data());
        stream.avail_in = text.size();
        stream.next_out = out.data();
        stream.avail_out = out.size();
        EXPECT_EQ(lzma_code(&stream, LZMA_FINISH), LZMA_STREAM_END);
        out.resize(stream.total_out);
        lzma_end(&stream);
        return out;
    }
    std::vector<std::uint8_t> out(ZSTD_compressBound(text.size()));
    ZSTD_CCtx* cctx = ZSTD_createCCtx();
    ZSTD_CCtx_setParameter(cctx, ZSTD_c_compressionLevel, level);
    ZSTD_CCtx_setParameter(cctx, ZSTD_c_checksumFlag, 1);
    out.resize(ZSTD_compress2(cctx, out.data(), out.size(), text.data(), text.size()));
    ZSTD_freeCCtx(cctx);
    return out;
}

std::vector<std::uint8_t> Bytes(const std::string& s) {
    return {s.begin(), s.end()};
}

// Two blocks: "alpha" and an empty entry in the first, "beta beta beta" in the second.
struct Solid {
    MemoryResources resources;
    SolidTable table;
    std::vector<std::string> entries{"alpha", "", "beta beta beta"};
    explicit Solid(SolidCodec codec = SolidCodec::Zstd) {
        table.codec = codec;
        const std::vector<std::string> blocks{"alpha", "beta beta beta"};
        for (std::size_t k = 0; k < blocks.size(); ++k) {
            std::vector<std::uint8_t> packed = Compress(codec, blocks[k]);
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

// The block tests run for each codec.
class SolidBlock : public testing::TestWithParam<SolidCodec> {};

TEST_P(SolidBlock, EveryEntryComesBackWholeAndAloneOnRequest) {
    Solid s(GetParam());
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

TEST_P(SolidBlock, ALargeBlockArrivesInBoundedChunks) {
    std::string big;
    for (int i = 0; big.size() < (3u << 20); ++i) big += std::to_string(i * 7919) + ",";
    MemoryResources r;
    std::vector<std::uint8_t> packed = Compress(GetParam(), big, 1);
    SolidTable t{
        GetParam(),
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

// Each truncation of a block is refused; each single-byte change either decodes to the very bytes
// (a header field that does not matter) or is refused: never another content, never a crash.
// LZMA carries no checksum of its own: a change that still decodes is found by the check before
// page 1 (the block's checksum record), so there only a crash or a hang would be a fault.
TEST_P(SolidBlock, EveryTruncationAndByteChangeIsRefusedOrHarmless) {
    Solid s(GetParam());
    const setup::Bytes found =
        *s.resources.Find(format::kSolidBlockResourceType, format::SolidBlockResourceName(1));
    const std::vector<std::uint8_t> good(found.begin(), found.end());
    auto attempt = [&](std::vector<std::uint8_t> block) -> const char* {
        MemoryResources r = s.resources;
        SolidTable t = s.table;
        t.blocks[1].packed = static_cast<std::uint32_t>(block.size());
        r.SetResource(format::kSolidBlockResourceType, format::SolidBlockResourceName(1), block);
        try {
            return DecodeAll(r, t) == s.entries ? "same" : "wrong";
        } catch (const RuntimeError&) {
            return "refused";
        }
    };
    for (std::size_t n = 0; n < good.size(); ++n)
        EXPECT_STREQ(attempt({good.begin(), good.begin() + n}), "refused") << n;
    for (std::size_t i = 0; i < good.size(); ++i)
        for (std::uint8_t flip : {0x01, 0x80, 0xff}) {
            std::vector<std::uint8_t> bad = good;
            bad[i] ^= flip;
            const char* outcome = attempt(bad);
            if (GetParam() == SolidCodec::Zstd)
                EXPECT_STRNE(outcome, "wrong") << i << " " << int{flip};
        }
}

TEST_P(SolidBlock, ABlockThatGivesMoreOrLessThanItsTableSaysIsRefused) {
    Solid s(GetParam());
    for (std::uint32_t claimed : {0u, 13u, 15u}) {  // 0: a decoder with no room must not spin
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

// The check before page 1 covers the table and every block of a solid installer.
TEST(SolidCheck, TheDamageCheckNamesAChangedBlockOrTable) {
    Solid s;
    auto record = [&](std::string_view type, std::string_view name) {
        const setup::Bytes bytes = *s.resources.Find(type, name);
        return format::ChecksumRecord{static_cast<std::uint32_t>(bytes.size()),
                                      format::Crc32(0, bytes), 0};
    };
    s.resources.SetResource(format::kSkinResourceType, format::kSkinResourceName, Bytes("skin"));
    s.resources.SetResource(format::kLicenceResourceType, format::kLicenceResourceName, Bytes("l"));
    std::vector<format::ChecksumRecord> records;
    for (const std::string& e : s.entries)
        records.push_back({0, 0, static_cast<std::uint32_t>(e.size())});
    records.push_back(record(format::kSkinResourceType, format::kSkinResourceName));
    records.push_back(record(format::kLicenceResourceType, format::kLicenceResourceName));
    for (std::size_t k = 0; k < 2; ++k)
        records.push_back(
            record(format::kSolidBlockResourceType, format::SolidBlockResourceName(k)));
    records.push_back(record(format::kSolidTableResourceType, format::kSolidTableResourceName));
    s.resources.SetResource(format::kChecksumResourceType, format::kChecksumResourceName,
                            Bytes(format::EncodeChecksums(records)));
    EXPECT_EQ(FindDamagedResource(s.resources, 3), std::nullopt);
    EXPECT_EQ(UnpackedEntrySizes(s.resources, 3), (std::vector<std::uint64_t>{5, 0, 14}));
    EXPECT_NE(FindDamagedResource(s.resources, 2), std::nullopt);  // a list of another length

    MemoryResources damaged = s.resources;
    const setup::Bytes block =
        *s.resources.Find(format::kSolidBlockResourceType, format::SolidBlockResourceName(1));
    std::vector<std::uint8_t> changed(block.begin(), block.end());
    changed.back() ^= 1;
    damaged.SetResource(format::kSolidBlockResourceType, format::SolidBlockResourceName(1),
                        changed);
    EXPECT_EQ(FindDamagedResource(damaged, 3), "MyBlock0001");
    SolidTable other = s.table;
    other.codec = static_cast<format::SolidCodec>(2);
    damaged = s.resources;
    damaged.SetResource(format::kSolidTableResourceType, format::kSolidTableResourceName,
                        Bytes(format::EncodeSolidTable(other)));
    EXPECT_EQ(FindDamagedResource(damaged, 3), "MainBlk");
}

// The read-ahead over a solid installer: entries in turn across blocks, a skipped one dropped, a
// repeat read directly; a damaged block fails its own entries only.
TEST_P(SolidBlock, TheReadAheadHandsOnEveryEntryAndADamagedBlockFailsOnlyItsEntries) {
    Solid s(GetParam());
    std::vector<PrefetchedContents::Entry> entries;
    for (int i = 0; i < 3; ++i)
        entries.emplace_back(format::PayloadResourceType(i), format::PayloadResourceName(i));
    auto take = [&](EntryContents& contents, int i) {
        std::string out;
        EXPECT_TRUE(contents.Holds(entries[i].first, entries[i].second));
        contents.Unpack(entries[i].first, entries[i].second, [&](setup::Bytes chunk) {
            out.append(chunk.begin(), chunk.end());
            return true;
        });
        return out;
    };
    {
        PrefetchedContents prefetched(s.resources, entries, 1);
        EXPECT_TRUE(prefetched.ReadsAhead());
        EXPECT_EQ(take(prefetched, 0), s.entries[0]);
        EXPECT_EQ(take(prefetched, 2), s.entries[2]);  // entry 1 skipped
        EXPECT_EQ(take(prefetched, 0), s.entries[0]);  // read again, directly
        EXPECT_FALSE(
            prefetched.Holds(format::PayloadResourceType(3), format::PayloadResourceName(3)));
    }
    std::vector<std::uint8_t> first(
        s.resources.Find(format::kSolidBlockResourceType, format::SolidBlockResourceName(0))
            ->begin(),
        s.resources.Find(format::kSolidBlockResourceType, format::SolidBlockResourceName(0))
            ->end());
    first[first.size() / 2] ^= 0xff;
    s.resources.SetResource(format::kSolidBlockResourceType, format::SolidBlockResourceName(0),
                            first);
    PrefetchedContents prefetched(s.resources, entries);
    EXPECT_THROW(take(prefetched, 0), RuntimeError);
    EXPECT_THROW(take(prefetched, 1), RuntimeError);
    EXPECT_EQ(take(prefetched, 2), s.entries[2]);
}

// Alternate LZMA blocks decode on two threads (zstd's on one); when the second cannot start, its blocks' entries are
// read directly and every entry still comes back whole, in turn or skipped.
TEST_P(SolidBlock, TwoThreadsDecodeAlternateBlocksAndAMissingOneLeavesItsBlocksToBeReadDirectly) {
    Solid s(GetParam());
    std::vector<PrefetchedContents::Entry> entries;
    for (int i = 0; i < 3; ++i)
        entries.emplace_back(format::PayloadResourceType(i), format::PayloadResourceName(i));
    for (int started : {2, 1}) {
        int calls = 0;
        const ThreadStarter start = [&](std::function<void()> work) {
            if (++calls > started)
                throw std::system_error(
                    std::make_error_code(std::errc::resource_unavailable_try_again));
            return std::thread(std::move(work));
        };
        PrefetchedContents prefetched(s.resources, entries, 1, start, 1);
        EXPECT_EQ(prefetched.Lanes(), GetParam() == SolidCodec::Lzma ? 2u : 1u);
        for (int i : {0, 1, 2}) {
            std::string out;
            prefetched.Unpack(entries[i].first, entries[i].second, [&](setup::Bytes chunk) {
                out.append(chunk.begin(), chunk.end());
                return true;
            });
            EXPECT_EQ(out, s.entries[i]) << started << " " << i;
        }
    }
}

// An LZMA stream that asks for a larger dictionary than setup-pack writes, or whose header gives
// another size than the table, is refused before anything is allocated or decoded.
TEST(SolidLzma, AHeaderSetupPackWouldNotWriteIsRefused) {
    Solid s(SolidCodec::Lzma);
    auto with_block = [&](std::vector<std::uint8_t> block) {
        MemoryResources r = s.resources;
        SolidTable t = s.table;
        t.blocks[1].packed = static_cast<std::uint32_t>(block.size());
        r.SetResource(format::kSolidBlockResourceType, format::SolidBlockResourceName(1), block);
        return DecodeAll(r, t);
    };
    EXPECT_THROW(
        with_block(Compress(SolidCodec::Lzma, "beta beta beta", 9, format::kLzmaDictionary * 2)),
        RuntimeError);
    std::vector<std::uint8_t> sized = Compress(SolidCodec::Lzma, "beta beta beta");
    for (int i = 0; i < 8; ++i) sized[5 + i] = i == 0 ? 15 : 0;  // a known size, one too many
    EXPECT_THROW(with_block(sized), RuntimeError);
}

INSTANTIATE_TEST_SUITE_P(Codecs, SolidBlock, testing::Values(SolidCodec::Zstd, SolidCodec::Lzma),
                         [](const auto& info) { return format::SolidCodecName(info.param); });

}  // namespace
}  // namespace setup
