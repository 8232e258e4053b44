// Framing: the bytes the installer inflates must be exactly the source, for empty, small and
// multi-chunk files, and a source that changes under the packer must not produce a framed file.
#include <gtest/gtest.h>

#include <random>

#include "frame.h"
#include "test_support.h"

namespace pack {
namespace {

using testing::ReadFile;
using testing::Unframe;
using testing::WriteFile;

// Random bytes mixed with runs, more than one read chunk long.
std::string MixedContent(std::size_t size) {
    std::mt19937 random(7);
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = (i / 4096) % 2 ? static_cast<char>(random()) : static_cast<char>(i % 61);
    return bytes;
}

TEST(Frame, LengthIsLittleEndianAndTheStreamIsZlibAtLevel9) {
    const std::string framed = FrameBytes(std::string(300, 'a'));
    EXPECT_EQ(framed.substr(0, 4), std::string("\x2C\x01\x00\x00", 4));
    EXPECT_EQ(static_cast<unsigned char>(framed[4]), 0x78);
    EXPECT_EQ(static_cast<unsigned char>(framed[5]), 0xDA);  // the header of level 9
    EXPECT_EQ(Unframe(framed), std::string(300, 'a'));
    EXPECT_EQ(Unframe(FrameBytes("")), "");
}

class FrameFileTest : public testing::ScratchTest {};

TEST_F(FrameFileTest, FilesOfEverySizeRoundTripAndProgressCountsTheirBytes) {
    for (std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{3'000'000}}) {
        const std::string content = MixedContent(size);
        WriteFile(dir_ / "in.bin", content);
        std::atomic<std::uint64_t> progress{0};
        std::string error;
        ASSERT_TRUE(FrameFile(dir_ / "in.bin", size, dir_ / "out.bin", &progress, error)) << error;
        EXPECT_TRUE(Unframe(ReadFile(dir_ / "out.bin")) == content) << size;
        EXPECT_EQ(progress.load(), size);
    }
    EXPECT_FALSE(fs::exists(dir_ / "out.bin.tmp"));
}

TEST_F(FrameFileTest, ASourceThatChangedSizeLeavesTheOldOutputAlone) {
    WriteFile(dir_ / "out.bin", "old");
    WriteFile(dir_ / "in.bin", "12345");
    std::string error;
    EXPECT_FALSE(FrameFile(dir_ / "in.bin", 6, dir_ / "out.bin", nullptr, error));
    EXPECT_NE(error.find("changed"), std::string::npos) << error;
    EXPECT_EQ(ReadFile(dir_ / "out.bin"), "old");
    EXPECT_FALSE(fs::exists(dir_ / "out.bin.tmp"));

    EXPECT_FALSE(FrameFile(dir_ / "missing.bin", 1, dir_ / "out.bin", nullptr, error));
    EXPECT_NE(error.find("missing.bin"), std::string::npos);
}

}  // namespace
}  // namespace pack
