// String tables and names as the loader looks them up: 16 strings to a block named id / 16 + 1,
// each with its length in UTF-16 code units; names stored upper-cased for FindResourceA.
#include <gtest/gtest.h>

#include "pe/resource_set.h"
#include "pe/string_table.h"

namespace pack::pe {
namespace {

std::string_view Bytes(const ResourceSet& set, std::uint16_t block) {
    return *MemoryBytes(set.at({ResId::Number(kRtString), ResId::Number(block), 2052}).data);
}

TEST(PeStrings, PacksSixteenToABlockAndReadsThemBack) {
    ResourceSet set;
    ASSERT_EQ(AddStrings(set, {{17, "Ab"}}, 2052), "");
    // Block 2 holds ids 16 to 31: id 16 empty, id 17 "Ab", fourteen more empty.
    EXPECT_EQ(Bytes(set, 2), std::string("\0\0\2\0A\0b\0", 8) + std::string(28, '\0'));

    // A second call keeps the block's other strings and replaces the one it gives.
    ASSERT_EQ(AddStrings(set, {{16, "x"}, {17, "中😀"}, {65535, "last"}}, 2052), "");
    EXPECT_EQ(set.size(), 2u);
    auto decoded = DecodeStringBlock(2, Bytes(set, 2));
    ASSERT_TRUE(decoded);
    ASSERT_EQ(decoded->size(), 2u);
    EXPECT_EQ((*decoded)[0].id, 16u);
    EXPECT_EQ((*decoded)[1].text, "中😀");
    // Id 17: three code units, a surrogate pair for the emoji.
    EXPECT_EQ(Bytes(set, 2).substr(4, 8), std::string("\x03\x00\x2D\x4E\x3D\xD8\x00\xDE", 8));
    EXPECT_EQ(DecodeStringBlock(4096, Bytes(set, 4096))->at(0).id, 65535u);
    EXPECT_FALSE(DecodeStringBlock(2, Bytes(set, 2).substr(0, 9)));

    // Bad input leaves the set as it was.
    EXPECT_NE(AddStrings(set, {{16, "ok"}, {18, "\xC0\x80"}}, 2052).find("string 18"),
              std::string::npos);
    EXPECT_NE(AddStrings(set, {{65536, "x"}}, 2052).find("65535"), std::string::npos);
    EXPECT_EQ(DecodeStringBlock(2, Bytes(set, 2))->at(0).text, "x");
}

TEST(PeStrings, NamesAreStoredAsFindResourceLooksThemUp) {
    EXPECT_EQ(NameId("Myres0001")->name, u"MYRES0001");
    EXPECT_EQ(NameId("数据_a")->name, u"数据_A");
    EXPECT_FALSE(NameId("\xFF"));
    ResourceSet set;
    EXPECT_TRUE(AddNamed(set, "MainBmp", "MyRes1", 2052, std::string("bmp")));
    EXPECT_EQ(set.begin()->first.type, ResId::Name(u"MAINBMP"));
    // FindResource reads "#1" as the number 1, so such a name could never be found.
    EXPECT_FALSE(AddNamed(set, "#1", "x", 2052, std::string()));
    EXPECT_FALSE(AddNamed(set, "x", "", 2052, std::string()));
    EXPECT_EQ(set.size(), 1u);
}

}  // namespace
}  // namespace pack::pe
