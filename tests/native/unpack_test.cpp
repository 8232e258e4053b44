#include "data/unpack.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/error.h"
#include "doubles/memory_resources.h"
#include "support/zlib_frame.h"

namespace setup {
namespace {

using testing::Frame;

std::string ErrorOf(const std::vector<std::uint8_t>& resource) {
    try {
        UnpackResource(resource);
    } catch (const RuntimeError& e) {
        return e.what();
    }
    return "no error";
}

std::string AsText(const std::vector<std::uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

TEST(Unpack, GivesExactlyTheFramedBytes) {
    std::string content(100000, '\0');
    for (std::size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i * 7 % 251);
    EXPECT_EQ(AsText(UnpackResource(Frame(content))), content);
}

TEST(Unpack, LengthZeroGivesAnEmptyBlock) {
    EXPECT_TRUE(UnpackResource(Frame("")).empty());
    EXPECT_TRUE(UnpackResource(std::vector<std::uint8_t>{0, 0, 0, 0}).empty());
}

TEST(Unpack, ShortOrTruncatedResourceIsAStreamReadError) {
    EXPECT_EQ(ErrorOf({1, 0, 0}), "Stream read error");
    auto resource = Frame(std::string(5000, 'q') + "tail");
    resource.resize(resource.size() - 6);  // the stream ends before its last bytes
    EXPECT_EQ(ErrorOf(resource), "Stream read error");
    EXPECT_EQ(ErrorOf(Frame("abc", 4)), "Stream read error");  // length claims more than there is
}

TEST(Unpack, ImpossibleLengthFailsBeforeAnyAllocation) {
    auto resource = Frame("abc", 0xFFFFFFF0u);
    EXPECT_EQ(ErrorOf(resource), "Stream read error");
}

TEST(Unpack, DamagedDataOrTrailerIsAnError) {
    auto damaged = Frame(std::string(2000, 'z') + "end of a real file");
    damaged[8] ^= 0xFF;
    EXPECT_EQ(ErrorOf(damaged), "Error");

    auto bad_trailer = Frame("a payload file");
    bad_trailer.back() ^= 0x01;
    EXPECT_EQ(ErrorOf(bad_trailer), "Error");

    // A length smaller than the stream would give a silently shortened file.
    EXPECT_EQ(ErrorOf(Frame("abcdef", 3)), "Error");
}

// What the installer reads through its file arrives in chunks of any size, the header split too;
// the file must come out the same, the last output only after the trailer, and a stream with
// more than N bytes must be found even when N is a whole number of output chunks.
TEST(Unpack, ChunksOfAnySizeGiveTheSameFileAndTheSameErrors) {
    std::string content(512 * 1024, '\0');  // two whole output chunks
    for (std::size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i * 131 % 253);
    const std::vector<std::uint8_t> framed = Frame(content);
    auto unpack_in = [](const std::vector<std::uint8_t>& resource, std::size_t piece) {
        std::string out;
        const ByteSink sink = [&](Bytes chunk) {
            out.append(chunk.begin(), chunk.end());
            return true;
        };
        FrameInflater inflater(sink);
        for (std::size_t at = 0; at < resource.size(); at += piece)
            inflater.Feed(Bytes(resource).subspan(at, std::min(piece, resource.size() - at)));
        inflater.Finish();
        return out;
    };
    for (std::size_t piece : {1u, 3u, 7u, 4096u, 1u << 20})
        EXPECT_EQ(unpack_in(framed, piece), content) << piece;

    const std::vector<std::uint8_t> longer = Frame(content + "x", content.size());
    EXPECT_THROW(unpack_in(longer, 5), RuntimeError);
    std::vector<std::uint8_t> no_trailer = framed;
    no_trailer.resize(no_trailer.size() - 2);
    try {
        unpack_in(no_trailer, 9);
        FAIL() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_STREQ(e.what(), "Stream read error");
    }
}

TEST(Unpack, ANamedResourceIsReadThroughTheFileAndAStoppedSinkEndsIt) {
    MemoryResources resources;  // hands its resources on in two chunks
    resources.SetResource("Myres0000", "MyFile0000", Frame(std::string(300000, 'r')));
    std::size_t total = 0, calls = 0;
    EXPECT_TRUE(UnpackNamedResourceTo(resources, "Myres0000", "MyFile0000", [&](Bytes chunk) {
        total += chunk.size();
        ++calls;
        return true;
    }));
    EXPECT_EQ(total, 300000u);
    EXPECT_EQ(calls, 2u);
    EXPECT_FALSE(UnpackNamedResourceTo(resources, "Myres0000", "MyFile0000",
                                       [](Bytes) { return false; }));
}

TEST(Unpack, MissingResourceIsNamed) {
    MemoryResources resources;
    try {
        UnpackNamedResource(resources, "Myres0007", "MyFile0007");
        FAIL();
    } catch (const RuntimeError& e) {
        EXPECT_STREQ(e.what(), "Resource MyFile0007 not found");
    }
}

TEST(Unpack, LicenceTextHasExactlyItsLengthAndNothingAfter) {
    MemoryResources resources;
    const std::string licence = "第一条\r\n第二条\r\n";
    resources.SetResource("myres2", "MAINRECT", Frame(licence));
    auto bytes = UnpackNamedResource(resources, kLicenceResourceType, kLicenceResourceName);
    EXPECT_EQ(TextUpToNul(bytes), licence);
    EXPECT_EQ(TextUpToNul(UnpackResource(Frame(std::string("a\0b", 3)))), "a");
}

}  // namespace
}  // namespace setup
