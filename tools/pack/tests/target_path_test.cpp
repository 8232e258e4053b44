// Target paths end up joined to the user's installation directory: anything that could leave it,
// or that Windows or the installer would read as a different name, must be refused.
#include <gtest/gtest.h>

#include "case_fold.h"
#include "order_file.h"
#include "test_support.h"

namespace pack {
namespace {

TEST(TargetPath, RefusesPathsThatLeaveTheInstallationDirectory) {
    for (const char* bad : {"..\\evil.dll", "data\\..\\..\\evil.dll", "..", "C:\\Windows\\x.dll",
                            "c:x.dll", "\\Windows\\x.dll", "\\\\server\\share\\x"})
        EXPECT_TRUE(CheckTargetPath(bad)) << bad;
}

TEST(TargetPath, RefusesNamesThatWindowsOrTheInstallerWouldChange) {
    for (const char* bad :
         {"", "data\\\\a.txt", "data\\", ".\\a.txt", "data/a.txt", "a*b.txt", "a?.txt", "a|b",
          "a<b", "a\"b", "data\\ a.txt", "data \\a.txt", "a.txt ", "a.", "a\tb.txt", "x:y"})
        EXPECT_TRUE(CheckTargetPath(bad)) << "'" << bad << "'";
}

TEST(TargetPath, AcceptsOrdinaryNamesWithBlanksDotsAndChinese) {
    for (const char* good : {"CONFIG.INI", "data\\log\\2024-01-05.log", "RepCenter\\销售单.rpt",
                             "Skin\\背景 图.bmp", ".hidden", "x..y.txt", "TessikOne商贸版.Exe"})
        EXPECT_FALSE(CheckTargetPath(good)) << good << ": " << CheckTargetPath(good).value_or("");
}

// Windows would open the device, not a file, for these names in any folder.
TEST(TargetPath, RefusesDeviceNamesInAnyCaseWithAnyExtensionAsFileOrFolder) {
    for (const char* bad : {"CON", "prn", "Aux", "nul.txt", "AUX.log", "con.tar.gz", "COM1",
                            "com9.ini", "LPT1", "lpt9.dat", "COM1 .log", "data\\NUL\\a.txt",
                            "NUL.d\\a.txt", "com\u00B9.txt", "LPT\u00B2", "Lpt\u00B3.x"}) {
        std::optional<std::string> why = CheckTargetPath(bad);
        ASSERT_TRUE(why) << bad;
        EXPECT_NE(why->find("device"), std::string::npos) << bad << ": " << *why;
    }
    for (const char* good : {"console.txt", "NULL", "con_1.txt", "com10.txt", "LPT.txt", "xcom1",
                             "auxiliary\\nul-ish.txt", "data.con\\prn-a.log", "COM\u00B9x"})
        EXPECT_FALSE(CheckTargetPath(good)) << good << ": " << CheckTargetPath(good).value_or("");
}

TEST(CaseFold, UpperCasesLettersBeyondAsciiLikeWindows) {
    const std::pair<const char*, const char*> same[] = {
        {"я.txt", "Я.TXT"}, {"ａ.txt", "Ａ.txt"}, {"σ", "Σ"}, {"ς", "Σ"},
        {"ÿé", "ŸÉ"},       {"ǎō", "ǍŌ"},         {"ա", "Ա"}, {"ё\\ѐ", "Ё\\Ѐ"}};
    for (const auto& [lower, upper] : same)
        EXPECT_EQ(UpperCaseForCompare(lower), UpperCaseForCompare(upper)) << lower;
    // Windows keeps dotless i and the micro sign apart from I and mu.
    EXPECT_NE(UpperCaseForCompare("ı"), UpperCaseForCompare("I"));
    EXPECT_NE(UpperCaseForCompare("µ"), UpperCaseForCompare("Μ"));
    EXPECT_EQ(UpperCaseForCompare("销售单 1.rpt"), "销售单 1.RPT");
    // Bytes that are not UTF-8 pass unchanged, so they cannot make two texts equal.
    EXPECT_EQ(UpperCaseForCompare("a\xC3\xFFz\xE0\x80\x80"), "A\xC3\xFFZ\xE0\x80\x80");
}

class OrderTest : public testing::ScratchTest {};

TEST_F(OrderTest, EachBadLineIsReportedWithItsNumberAndGoodOnesKeepTheirOrder) {
    testing::WriteFile(dir_ / "b.txt", "b");
    testing::WriteFile(dir_ / "data/a.txt", "aa");
    testing::WriteFile(dir_ / "销售单.rpt", "r");
    fs::create_directories(dir_ / "folder");
    const std::string order =
        "b.txt\r\n"
        "\r\n"
        "data\\a.txt\n"
        "   \n"
        "..\\x.txt\n"
        "missing.txt\n"
        "B.TXT\n"
        "folder\n"
        "销售单.rpt";
    PayloadOrder result = ParseOrder(order, "order.txt", dir_);
    ASSERT_EQ(result.entries.size(), 3u);
    EXPECT_EQ(result.entries[0].target, "b.txt");
    EXPECT_EQ(result.entries[1].target, "data\\a.txt");
    EXPECT_EQ(result.entries[1].source, dir_ / "data/a.txt");
    EXPECT_EQ(result.entries[1].size, 2u);
    EXPECT_EQ(result.entries[2].target, "销售单.rpt");

    ASSERT_EQ(result.problems.size(), 4u);
    EXPECT_EQ(result.problems[0].line, 5);  // ".."
    EXPECT_EQ(result.problems[1].line, 6);  // missing
    EXPECT_EQ(result.problems[2].line, 7);  // same file as line 1, other case
    EXPECT_NE(result.problems[2].message.find("line 1"), std::string::npos);
    EXPECT_EQ(result.problems[3].line, 8);  // a folder, not a file
    EXPECT_EQ(Describe(result.problems[1]).substr(0, 12), "order.txt:6:");
}

TEST_F(OrderTest, NamesThatDifferOnlyInNonAsciiLetterCaseAreTheSameFile) {
    const std::string order = "Я.txt\nя.txt\nＡ.txt\nａ.txt\nΣ.txt\nσ.txt\n";
    for (std::string_view line : {"Я.txt", "я.txt", "Ａ.txt", "ａ.txt", "Σ.txt", "σ.txt"})
        testing::WriteFile(dir_ / line, "x");
    PayloadOrder result = ParseOrder(order, "order.txt", dir_);
    EXPECT_EQ(result.entries.size(), 3u);
    ASSERT_EQ(result.problems.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(result.problems[i].line, 2 * i + 2);
        EXPECT_NE(result.problems[i].message.find("same file as line " + std::to_string(2 * i + 1)),
                  std::string::npos)
            << result.problems[i].message;
    }
}

// On Windows one name cannot be a file and a folder at once, whichever line comes first.
TEST_F(OrderTest, AFileWithTheNameOfAFolderOfAnotherLineIsRefused) {
    testing::WriteFile(dir_ / "data", "file");
    testing::WriteFile(dir_ / "DATA/x.txt", "x");
    testing::WriteFile(dir_ / "Папка/a/b.txt", "b");
    testing::WriteFile(dir_ / "папка/A", "file");
    testing::WriteFile(dir_ / "data2/x.txt", "x");
    PayloadOrder result = ParseOrder("data\nDATA\\x.txt\nПапка\\a\\b.txt\nпапка\\A\ndata2\\x.txt\n",
                                     "order.txt", dir_);
    ASSERT_EQ(result.problems.size(), 2u);
    EXPECT_EQ(Describe(result.problems[0]),
              "order.txt:2: the folder \"DATA\" has the name of the file of line 1 (Windows "
              "ignores letter case)");
    EXPECT_EQ(result.problems[1].line, 4);
    EXPECT_NE(result.problems[1].message.find("folder that line 3 needs"), std::string::npos)
        << result.problems[1].message;
    ASSERT_EQ(result.entries.size(), 3u);
    EXPECT_EQ(result.entries[2].target, "data2\\x.txt");
}

TEST_F(OrderTest, MoreThan8000FilesAreRefused) {
    std::string order;
    for (int i = 0; i < 8001; ++i) order.append("f").append(std::to_string(i)).append("\n");
    PayloadOrder result = ParseOrder(order, "order.txt", dir_);
    ASSERT_FALSE(result.problems.empty());
    EXPECT_EQ(result.problems.back().line, 0);
    EXPECT_NE(result.problems.back().message.find("8001 files"), std::string::npos);
}

TEST_F(OrderTest, FilesMissingFromTheOrderAreListed) {
    testing::WriteFile(dir_ / "a.txt", "a");
    testing::WriteFile(dir_ / "Skin/forgotten.png", "p");
    PayloadOrder result = ParseOrder("a.txt\n", "order.txt", dir_);
    Problems warnings;
    EXPECT_EQ(UnlistedFiles(dir_, result.entries, warnings),
              std::vector<std::string>{"Skin/forgotten.png"});
    EXPECT_TRUE(warnings.empty());
}

}  // namespace
}  // namespace pack
