// The solid payload as setup-pack writes it: where blocks are cut, blocks that decode back to the
// entries in order, and a second run with nothing changed that writes nothing.
#include "solid_pack.h"

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
    const format::SolidTable t = CutIntoBlocks({10 * mb, 7 * mb, 0, 60 * mb, 1}, problem);
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
    CutIntoBlocks({65 * mb}, problem);
    EXPECT_NE(problem.find("larger than a solid block"), std::string::npos);
}

class SolidPack : public testing::ScratchTest {};

TEST_F(SolidPack, BlocksDecodeToTheEntriesAndAnUnchangedRunWritesNothing) {
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
    ASSERT_TRUE(WriteSolidPayload(entries, dir_ / "out", 2, outputs, error)) << error;
    EXPECT_TRUE(outputs.compressed);
    ASSERT_EQ(outputs.blocks.size(), 1u);
    const std::string packed = ReadFile(outputs.blocks[0]);
    std::string decoded(all.size(), '\0');
    EXPECT_EQ(ZSTD_decompress(decoded.data(), decoded.size(), packed.data(), packed.size()),
              all.size());
    EXPECT_EQ(decoded, all);
    const std::string table = ReadFile(outputs.table);
    const auto read = format::DecodeSolidTable(
        {reinterpret_cast<const std::uint8_t*>(table.data()), table.size()});
    ASSERT_TRUE(read.table) << read.problem;
    EXPECT_EQ(read.table->blocks[0].packed, packed.size());

    SolidOutputs again;
    ASSERT_TRUE(WriteSolidPayload(entries, dir_ / "out", 2, again, error)) << error;
    EXPECT_FALSE(again.compressed);
    EXPECT_EQ(again.blocks, outputs.blocks);
}

}  // namespace
}  // namespace pack
