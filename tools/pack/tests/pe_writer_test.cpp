// Writing resources into a stub: for both formats, both file alignments and every placement of
// the stub's resource section, the result must hold every old and new resource byte for byte,
// describe itself consistently in its headers, and sort its tables for the loader's search.
#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

#include "pe/le_bytes.h"
#include "pe/pe_image.h"
#include "pe/pe_writer.h"
#include "pe/resource_list.h"
#include "pe/resource_reader.h"
#include "pe/string_table.h"
#include "pe_stub.h"
#include "test_support.h"

namespace pack::pe {
namespace {

using namespace pe::testing;
using pack::testing::ReadFile;
using pack::testing::WriteFile;

// Within every table: named entries first, names ascending by code unit, then ids ascending.
void ExpectSortedTables(std::string_view tree, std::size_t table, int level = 0) {
    const std::size_t named = Le16(tree, table + 12), ids = Le16(tree, table + 14);
    std::u16string last_name;
    std::uint32_t last_id = 0;
    for (std::size_t i = 0; i < named + ids; ++i) {
        const std::uint32_t id = Le32(tree, table + 16 + 8 * i);
        const std::uint32_t target = Le32(tree, table + 20 + 8 * i);
        ASSERT_EQ((id >> 31) != 0, i < named) << "entry " << i << " of table " << table;
        if (i < named) {
            const std::size_t at = id & 0x7FFFFFFF;
            std::u16string name;
            for (std::size_t k = 0; k < Le16(tree, at); ++k)
                name += static_cast<char16_t>(Le16(tree, at + 2 + 2 * k));
            if (i > 0) {
                EXPECT_LT(last_name, name);
            }
            last_name = name;
        } else {
            if (i > named) {
                EXPECT_LT(last_id, id);
            }
            last_id = id;
        }
        if (level < 2) ExpectSortedTables(tree, target & 0x7FFFFFFF, level + 1);
    }
}

// Headers that agree with the sections, and sections that fit together without gaps or overlaps.
void ExpectConsistent(const std::string& out, const PeImage& image) {
    const std::uint32_t sa = image.section_alignment, fa = image.file_alignment;
    std::uint64_t next_address = Align(image.size_of_headers, sa), raw_end = image.size_of_headers;
    for (const Section& s : image.sections) {
        EXPECT_EQ(s.virtual_address, next_address) << s.name;
        next_address = Align(s.virtual_address + s.MemorySize(), sa);
        if (s.raw_size == 0) continue;
        EXPECT_EQ(s.raw_pointer % fa, 0u) << s.name;
        EXPECT_EQ(s.raw_size % fa, 0u) << s.name;
        EXPECT_GE(s.raw_pointer, raw_end) << s.name;
        raw_end = s.raw_pointer + s.raw_size;
    }
    EXPECT_EQ(image.size_of_image, next_address);
    EXPECT_EQ(out.size(), raw_end);
    EXPECT_EQ(image.checksum, SlowChecksum(out, image.optional_header + kOptCheckSum));
    const DataDirectory dir = image.Directory(kResourceDirectory);
    std::optional<std::size_t> rsrc = SectionAt(image, dir.address);
    ASSERT_TRUE(rsrc);
    const Section& s = image.sections[*rsrc];
    EXPECT_EQ(s.name, ".rsrc");
    EXPECT_EQ(dir.address, s.virtual_address);
    EXPECT_LE(dir.size, s.virtual_size);
    ExpectSortedTables(std::string_view(out).substr(s.raw_pointer, s.raw_size), 0);
}

const Section* Named(const PeImage& image, std::string_view name) {
    for (const Section& s : image.sections)
        if (s.name == name) return &s;
    return nullptr;
}

std::string_view RawBytes(std::string_view file, const Section& s, std::size_t size) {
    return file.substr(s.raw_pointer, size);
}

// Settings 1001-1023 and a file list 2000-2300 in Chinese, a replaced manifest, payload
// resources whose names sort differently by code unit than by letter or length.
struct Additions {
    ResourceSet set;
    std::map<unsigned, std::string> texts;
    std::map<std::pair<std::string, std::string>, std::string> named;
};

Additions MakeAdditions() {
    Additions a;
    for (unsigned id = 1001; id <= 1023; ++id) a.texts[id] = "设置" + std::to_string(id) + "=值";
    for (unsigned id = 2000; id <= 2300; ++id)
        a.texts[id] = "数据*子目录*文件" + std::to_string(id) + ".dat";
    a.texts[2300] = "最后 \t \"quoted\" 😀";
    EXPECT_EQ(AddStrings(a.set, a.texts, kLangChinesePrc), "");
    a.named[{"Myres0010", "MyFile0010"}] = Filler(5000, 'p');
    a.named[{"Myres0100", "MyFile0100"}] = "";
    a.named[{"Myres0002", "MyFile0002"}] = Filler(77, 'q');
    a.named[{"MainBmp", "MyRes1"}] = Filler(999, 'b');
    a.named[{"数据", "_x"}] = "named in Chinese";
    for (const auto& [key, bytes] : a.named)
        EXPECT_TRUE(AddNamed(a.set, key.first, key.second, kLangChinesePrc, bytes));
    a.set[{ResId::Number(kRtManifest), ResId::Number(1), kLangEnglishUs}] = {
        std::string("<new manifest/>"), 0};
    return a;
}

using Param = std::tuple<Layout, bool, std::uint32_t>;

class PeWriterLayouts : public ::testing::TestWithParam<Param> {};

TEST_P(PeWriterLayouts, KeepsTheStubAddsTheResourcesAndUpdatesTheHeaders) {
    const auto [layout, pe32_plus, file_alignment] = GetParam();
    const std::string stub = BuildStub(layout, pe32_plus, file_alignment);
    const PeImage before = *ParsePe(stub).image;
    const Additions add = MakeAdditions();
    std::stringstream stream;
    std::string error;
    ASSERT_TRUE(WriteExecutable(stub, add.set, stream, error)) << error;
    const std::string out = stream.str();

    PeParse parse = ParsePe(out);
    ASSERT_TRUE(parse.image) << parse.problem;
    const PeImage& after = *parse.image;
    ExpectConsistent(out, after);
    const bool appended = layout == Layout::kResourcesInside || layout == Layout::kNoResources;
    EXPECT_EQ(after.sections.size(), before.sections.size() + appended);
    if (appended) {
        EXPECT_EQ(after.sections.back().name, ".rsrc");
    }
    const Section& rsrc = after.sections[*SectionAt(after, after.Directory(2).address)];
    EXPECT_EQ(after.size_of_initialized_data - before.size_of_initialized_data,
              rsrc.raw_size - (appended ? 0 : Named(before, ".rsrc")->raw_size));

    // Code, data and relocations are the same bytes; the relocation directory follows its section.
    for (const char* name : {".text", ".data", ".reloc"}) {
        const Section* old_section = Named(before, name);
        if (!old_section) continue;
        const Section* new_section = Named(after, name);
        ASSERT_TRUE(new_section) << name;
        EXPECT_EQ(RawBytes(out, *new_section, new_section->raw_size),
                  RawBytes(stub, *old_section, old_section->raw_size))
            << name;
        if (std::string_view(name) == ".reloc") {
            EXPECT_EQ(after.Directory(5).address, new_section->virtual_address);
        }
    }

    ResourceRead read = ReadResources(out, after);
    ASSERT_TRUE(read.resources) << read.problem;
    const ResourceSet& got = *read.resources;
    auto bytes_of = [&](const ResourceKey& key) -> std::string {
        auto it = got.find(key);
        return it == got.end() ? "<missing " + KeyText(key) + ">"
                               : std::string(*MemoryBytes(it->second.data));
    };
    for (const auto& [names, bytes] : add.named)
        EXPECT_EQ(bytes_of({*NameId(names.first), *NameId(names.second), kLangChinesePrc}), bytes);
    EXPECT_EQ(bytes_of({ResId::Number(kRtManifest), ResId::Number(1), kLangEnglishUs}),
              "<new manifest/>");
    if (layout != Layout::kNoResources) {
        EXPECT_EQ(bytes_of({ResId::Number(kRtVersion), ResId::Number(1), kLangChinesePrc}),
                  StubVersion());
        EXPECT_EQ(bytes_of({ResId::Name(u"STUBDATA"), ResId::Name(u"LOGO"), 0}), Filler(33, 'L'));
    }

    // Every string reads back; the stub's own string 1000 shares a block with 1001 and stays.
    std::map<unsigned, std::string> strings;
    for (const ListedString& s : ListResources(out).strings) {
        EXPECT_EQ(s.language, kLangChinesePrc);
        strings[s.id] = s.text;
    }
    std::map<unsigned, std::string> expected = add.texts;
    if (layout != Layout::kNoResources) expected[1000] = "stub";
    EXPECT_EQ(strings, expected);
}

std::string ParamName(const ::testing::TestParamInfo<Param>& info) {
    const char* layouts[] = {"ResourcesThenRelocations", "ResourcesLast", "ResourcesInside",
                             "NoResources"};
    const auto [layout, pe32_plus, file_alignment] = info.param;
    return std::string(layouts[static_cast<int>(layout)]) + (pe32_plus ? "_Pe32Plus_" : "_Pe32_") +
           std::to_string(file_alignment);
}

INSTANTIATE_TEST_SUITE_P(
    Pe, PeWriterLayouts,
    ::testing::Combine(::testing::Values(Layout::kResourcesThenRelocations, Layout::kResourcesLast,
                                         Layout::kResourcesInside, Layout::kNoResources),
                       ::testing::Bool(), ::testing::Values(512u, 4096u)),
    ParamName);

TEST(PeWriter, RefusesStubsItCannotWriteIntoWithoutDamage) {
    const std::string good = BuildStub(Layout::kResourcesThenRelocations, true, 512);
    const std::size_t dirs = OptionalHeaderAt() + 112;
    std::string signed_stub = good;
    PutLe32(signed_stub, dirs + 8 * 4, 0x5000);
    PutLe32(signed_stub, dirs + 8 * 4 + 4, 0x300);
    EXPECT_EQ(CheckStub(signed_stub), "the stub is signed; sign the finished installer instead");
    EXPECT_NE(CheckStub(good + "overlay").find("7 bytes after its last section"),
              std::string::npos);
    std::string symbols = good;
    PutLe32(symbols, kLfanew + 4 + 8, static_cast<std::uint32_t>(good.size()));
    EXPECT_NE(CheckStub(symbols).find("symbol table"), std::string::npos);
    EXPECT_NE(CheckStub(good.substr(0, good.size() - 1)).find("the stub: "), std::string::npos);

    // A resource section in the middle needs a new section header; these headers end less than
    // one header after the section table.
    ImageSpec full{false, 512, 4096, {Code(), Resources(), Data()}, 0};
    ASSERT_LT(512 - (OptionalHeaderAt() + 224 + 3 * 40), kSectionHeaderSize);
    EXPECT_NE(CheckStub(BuildImage(full)).find("no room for another section header"),
              std::string::npos);
    full.header_slack = 40;
    EXPECT_EQ(CheckStub(BuildImage(full)), "");

    std::stringstream stream;
    std::string error;
    EXPECT_FALSE(WriteExecutable(signed_stub, {}, stream, error));
    EXPECT_EQ(error, "the stub is signed; sign the finished installer instead");
}

class PeWriterFiles : public pack::testing::ScratchTest {};

TEST_F(PeWriterFiles, StreamsPayloadFilesAndRefusesOnesThatChanged) {
    const std::string stub = BuildStub(Layout::kResourcesThenRelocations, false, 4096);
    const std::string big = Filler(3'000'000, 'B');
    WriteFile(dir_ / "big.bin", big);
    WriteFile(dir_ / "empty.bin", "");
    ResourceSet add;
    AddNamed(add, "Myres0000", "MyFile0000", kLangChinesePrc,
             FileData{dir_ / "big.bin", big.size()});
    AddNamed(add, "Myres0001", "MyFile0001", kLangChinesePrc, FileData{dir_ / "empty.bin", 0});
    std::string error;
    ASSERT_TRUE(WriteExecutableFile(stub, add, dir_ / "setup.exe", error)) << error;
    const std::string out = ReadFile(dir_ / "setup.exe");
    const PeImage image = *ParsePe(out).image;
    ExpectConsistent(out, image);
    const ResourceSet got = *ReadResources(out, image).resources;
    EXPECT_TRUE(
        *MemoryBytes(got.at({*NameId("MYRES0000"), *NameId("MYFILE0000"), kLangChinesePrc}).data) ==
        big);
    EXPECT_EQ(
        MemoryBytes(got.at({*NameId("MYRES0001"), *NameId("MYFILE0001"), kLangChinesePrc}).data)
            ->size(),
        0u);

    // The file grew after it was measured: nothing is written, not even a temporary file.
    fs::remove(dir_ / "setup.exe");
    WriteFile(dir_ / "big.bin", big + "x");
    EXPECT_FALSE(WriteExecutableFile(stub, add, dir_ / "setup.exe", error));
    EXPECT_NE(error.find("longer than the 3000000 bytes"), std::string::npos) << error;
    WriteFile(dir_ / "big.bin", "short");
    EXPECT_FALSE(WriteExecutableFile(stub, add, dir_ / "setup.exe", error));
    EXPECT_NE(error.find("shorter"), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(dir_ / "setup.exe"));
    EXPECT_FALSE(fs::exists(dir_ / "setup.exe.tmp"));
}

}  // namespace
}  // namespace pack::pe
