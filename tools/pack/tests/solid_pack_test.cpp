// The solid payload as setup-pack writes it: where blocks are cut, blocks that decode back to the
// entries in order, and a second run with nothing changed that writes nothing.
#include "solid_pack.h"

#include <lzma.h>
#include <zstd.h>

#include "format/solid_table.h"
#include "test_support.h"

namespace pack {
namespace {

namespace format = setup::format;
using testing::ReadFile;
using testing::WriteFile;

TEST(SolidCut, BlocksCloseAtTheTargetAndNeverSplitAnEntry) {
    std::string problem;
    const std::uint64_t mb = 1u << 20;
    const format::SolidTable t =
        CutIntoBlocks({10 * mb, 7 * mb, 0, 60 * mb, 1}, format::SolidCodec::Zstd, problem);
    EXPECT_TRUE(problem.empty());
    // 10 + 7 reach 16 MB and close the first block; 60 MB alone then close the second.
    ASSERT_EQ(t.blocks.size(), 3u);
    EXPECT_EQ(t.blocks[0].unpacked, 17 * mb);
    EXPECT_EQ(t.entries[2], (format::SolidEntry{1, 0, 0}));
    EXPECT_EQ(t.entries[3], (format::SolidEntry{1, 0, 60 * mb}));
    EXPECT_EQ(t.entries[4], (format::SolidEntry{2, 0, 1}));
    const std::string bytes = format::EncodeSolidTable(t);
    EXPECT_EQ(format::DecodeSolidTable(
                  {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()})
                  .problem,
              "");
    CutIntoBlocks({65 * mb}, format::SolidCodec::Zstd, problem);
    EXPECT_NE(problem.find("larger than a solid block"), std::string::npos);
}

TEST(SolidCut, LzmaBlocksHoldHalfThePayloadWithinTheLimits) {
    std::string problem;
    const std::uint64_t mb = 1u << 20;
    EXPECT_EQ(
        CutIntoBlocks(std::vector<std::uint64_t>(10, 10 * mb), format::SolidCodec::Lzma, problem)
            .blocks.size(),
        2u);
    // A small payload keeps zstd's target; a large one is cut at the largest block there may be.
    EXPECT_EQ(
        CutIntoBlocks(std::vector<std::uint64_t>(10, 2 * mb), format::SolidCodec::Lzma, problem)
            .blocks.size(),
        2u);
    const format::SolidTable large =
        CutIntoBlocks(std::vector<std::uint64_t>(40, 8 * mb), format::SolidCodec::Lzma, problem);
    EXPECT_EQ(large.blocks.size(), 5u);
    EXPECT_EQ(large.blocks[0].unpacked, 64 * mb);
    EXPECT_EQ(large.codec, format::SolidCodec::Lzma);
    EXPECT_TRUE(problem.empty());
}

// The block decoded with the host's own library, not the installer's decoder.
std::string DecodeBlock(format::SolidCodec codec, const std::string& packed, std::size_t size) {
    std::string decoded(size, '\0');
    if (codec == format::SolidCodec::Zstd) {
        if (ZSTD_decompress(decoded.data(), size, packed.data(), packed.size()) != size) return {};
        return decoded;
    }
    lzma_stream stream = LZMA_STREAM_INIT;
    if (lzma_alone_decoder(&stream, UINT64_MAX) != LZMA_OK) return {};
    stream.next_in = reinterpret_cast<const std::uint8_t*>(packed.data());
    stream.avail_in = packed.size();
    stream.next_out = reinterpret_cast<std::uint8_t*>(decoded.data());
    stream.avail_out = size;
    const lzma_ret rc = lzma_code(&stream, LZMA_FINISH);
    lzma_end(&stream);
    return rc == LZMA_STREAM_END && stream.avail_out == 0 ? decoded : std::string();
}

class SolidPack : public testing::ScratchTest,
                  public ::testing::WithParamInterface<format::SolidCodec> {};

TEST_P(SolidPack, BlocksDecodeToTheEntriesAndAnUnchangedRunWritesNothing) {
    const format::SolidCodec codec = GetParam();
    std::vector<PayloadEntry> entries;
    std::string all;
    for (int i = 0; i < 3; ++i) {
        const std::string bytes(1000 + i * 500, static_cast<char>('a' + i));
        const fs::path source = dir_ / "in" / std::to_string(i);
        WriteFile(source, bytes);
        entries.push_back({std::to_string(i), source, bytes.size(), i + 1});
        all += bytes;
    }
    fs::create_directories(dir_ / "out");
    SolidOutputs outputs;
    std::string error;
    ASSERT_TRUE(WriteSolidPayload(entries, codec, dir_ / "out", 2, outputs, error)) << error;
    EXPECT_TRUE(outputs.compressed);
    ASSERT_EQ(outputs.blocks.size(), 1u);
    const std::string packed = ReadFile(outputs.blocks[0]);
    EXPECT_EQ(DecodeBlock(codec, packed, all.size()), all);
    const std::string table = ReadFile(outputs.table);
    const auto read = format::DecodeSolidTable(
        {reinterpret_cast<const std::uint8_t*>(table.data()), table.size()});
    ASSERT_TRUE(read.table) << read.problem;
    EXPECT_EQ(read.table->codec, codec);
    EXPECT_EQ(read.table->blocks[0].packed, packed.size());

    SolidOutputs again;
    ASSERT_TRUE(WriteSolidPayload(entries, codec, dir_ / "out", 2, again, error)) << error;
    EXPECT_FALSE(again.compressed);
    EXPECT_EQ(again.blocks, outputs.blocks);
    // The other codec is a change: everything is compressed again.
    const format::SolidCodec other =
        codec == format::SolidCodec::Zstd ? format::SolidCodec::Lzma : format::SolidCodec::Zstd;
    ASSERT_TRUE(WriteSolidPayload(entries, other, dir_ / "out", 2, again, error)) << error;
    EXPECT_TRUE(again.compressed);
}

INSTANTIATE_TEST_SUITE_P(Codecs, SolidPack,
                         ::testing::Values(format::SolidCodec::Zstd, format::SolidCodec::Lzma),
                         [](const auto& info) { return format::SolidCodecName(info.param); });

}  // namespace
}  // namespace pack
