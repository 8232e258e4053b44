// Reading executables: the headers and resource tree of a sound file, and for truncated, garbled
// or deliberately broken files a problem that names the fault, never a crash or a read past the
// end. The CheckSum against values worked out by hand.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <sstream>

#include "pe/le_bytes.h"
#include "pe/pe_checksum.h"
#include "pe/pe_image.h"
#include "pe/pe_writer.h"
#include "pe/resource_list.h"
#include "pe/resource_reader.h"
#include "pe_stub.h"

namespace pack::pe {
namespace {

using namespace pe::testing;

TEST(PeChecksum, FoldsCarriesSkipsItsOwnFieldAndAddsTheLength) {
    // Words 0x0201 + 0x0403 + 0x0009 (the odd last byte); 0x0605 0x0807 are the field; + 9 bytes.
    EXPECT_EQ(ComputePeChecksum("\x01\x02\x03\x04\x05\x06\x07\x08\x09", 4), 0x060Du + 9);
    // 0xFFFF + 0xFFFF = 0x1FFFE folds to 0xFFFF; + 0x0002 = 0x10001 folds to 0x0002; + 6 bytes.
    EXPECT_EQ(ComputePeChecksum(std::string("\xFF\xFF\xFF\xFF\x02\x00", 6), 100), 0x0002u + 6);

    std::mt19937 random(3);
    std::string bytes(100'001, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    EXPECT_EQ(ComputePeChecksum(bytes, 0xD8), SlowChecksum(bytes, 0xD8));
    // Streamed in odd pieces, with the field zeroed by the caller, the sum is the same.
    std::string zeroed = bytes;
    zeroed.replace(0xD8, 4, 4, '\0');
    PeChecksum streamed;
    for (std::size_t at = 0, piece = 1; at < zeroed.size(); at += piece, piece = piece * 3 % 1001)
        streamed.Add(std::string_view(zeroed).substr(at, piece));
    EXPECT_EQ(streamed.Finish(), SlowChecksum(bytes, 0xD8));
}

TEST(PeReader, ReadsBothFormatsAndATreeLaidOutDepthFirst) {
    for (bool pe32_plus : {false, true}) {
        const std::string f = BuildStub(Layout::kResourcesThenRelocations, pe32_plus, 512);
        PeParse parse = ParsePe(f);
        ASSERT_TRUE(parse.image) << parse.problem;
        const PeImage& image = *parse.image;
        EXPECT_EQ(image.pe32_plus, pe32_plus);
        EXPECT_EQ(image.machine, pe32_plus ? 0x8664 : 0x14C);
        EXPECT_EQ(image.file_alignment, 512u);
        ASSERT_EQ(image.sections.size(), 4u);
        EXPECT_EQ(image.sections[2].name, ".rsrc");
        EXPECT_EQ(image.Directory(kResourceDirectory).address, image.sections[2].virtual_address);
        EXPECT_EQ(image.raw_end, f.size());

        const ResourceListing list = ListResources(f);
        EXPECT_TRUE(list.problems.empty());
        ASSERT_EQ(list.resources.size(), 4u);
        EXPECT_EQ(IdText(list.resources[0].key.type), "\"STUBDATA\"");
        EXPECT_EQ(KeyText(list.resources[3].key), "type 24, name 1, language 1033");
        EXPECT_EQ(list.resources[3].size, StubManifest().size());
        ASSERT_EQ(list.strings.size(), 1u);
        EXPECT_EQ(list.strings[0].id, 1000u);
        EXPECT_EQ(list.strings[0].text, "stub");
    }
}

// Whatever the damage, every reader gives an answer; one that writes must write a sound file.
void ReadEverything(const std::string& f) {
    PeParse parse = ParsePe(f);
    if (parse.image) ReadResources(f, *parse.image);
    ListResources(f);
    std::stringstream out;
    std::string error;
    if (WriteExecutable(f, {}, out, error)) {
        EXPECT_TRUE(ParsePe(out.str()).image);
    }
}

TEST(PeReader, TruncatedAndGarbledFilesGiveProblems) {
    const std::string f = BuildStub(Layout::kResourcesThenRelocations, false, 512);
    for (std::size_t size = 0; size < f.size(); ++size) {
        const std::string cut = f.substr(0, size);
        EXPECT_FALSE(ParsePe(cut).problem.empty()) << size;
        if (size % 7 == 0) ReadEverything(cut);
    }
    // Random bytes in the headers and in the resource tree.
    const std::size_t rsrc = ParsePe(f).image->sections[2].raw_pointer;
    std::mt19937 random(11);
    for (int round = 0; round < 3000; ++round) {
        std::string garbled = f;
        const std::size_t base = round % 2 ? rsrc : 0, span = round % 2 ? 400 : 0x2C0;
        for (int k = 0; k < 1 + round % 4; ++k)
            garbled[base + random() % span] = static_cast<char>(random());
        ReadEverything(garbled);
    }
}

TEST(PeReader, NamesTheDamage) {
    const std::string good = BuildStub(Layout::kResourcesThenRelocations, true, 512);
    const PeImage image = *ParsePe(good).image;
    const std::size_t o = image.optional_header, rsrc = image.sections[2].raw_pointer;
    // The first entry of a table, followed down to the first data entry.
    auto first_child = [&](std::size_t table) {
        return Le32(good, rsrc + table + 20) & 0x7FFFFFFF;
    };
    const std::size_t data_entry = rsrc + first_child(first_child(first_child(0)));

    const std::vector<std::pair<std::function<void(std::string&)>, std::string>> cases = {
        {[](std::string& f) { f[0] = 'X'; }, "no \"MZ\" header"},
        {[](std::string& f) { PutLe32(f, 0x3C, 0xFFFFFFF0); }, "lies outside the file"},
        {[](std::string& f) { f[kLfanew + 1] = 'X'; }, "no PE signature"},
        {[&](std::string& f) { PutLe16(f, o, 0x999); }, "unknown optional header magic 0x999"},
        {[&](std::string& f) { PutLe32(f, o + 36, 100); }, "file alignment 100"},
        {[](std::string& f) { PutLe16(f, kLfanew + 6, 0xFFFF); }, "does not fit"},
        {[&](std::string& f) { PutLe32(f, image.section_table + 20, 0x7FFFFF00); },
         "reaches past the end of the file"},
        {[&](std::string& f) { PutLe32(f, rsrc + 20, 0x80000000); }, "is reached twice"},
        {[&](std::string& f) { PutLe32(f, rsrc + 16, 0x80007FF0); }, "a name at 0x7FF0"},
        {[&](std::string& f) { PutLe32(f, data_entry, 0x900000); }, "lies outside the file's"},
        {[&](std::string& f) { PutLe32(f, data_entry + 4, 0x10000); }, "lies outside the file's"},
    };
    for (const auto& [damage, expected] : cases) {
        std::string f = good;
        damage(f);
        PeParse parse = ParsePe(f);
        const std::string problem =
            parse.image ? ReadResources(f, *parse.image).problem : parse.problem;
        EXPECT_NE(problem.find(expected), std::string::npos) << problem << " / " << expected;
    }
}

}  // namespace
}  // namespace pack::pe
