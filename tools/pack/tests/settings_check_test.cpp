// Each settings line must carry the key of its place and a value the installer uses as meant;
// every fault is reported once with its line and key.
#include <gtest/gtest.h>

#include "settings_check.h"
#include "test_support.h"

namespace pack {
namespace {

const std::vector<std::string> kTargets = {"CONFIG.INI", "empty.dat", "bin\\Main.exe",
                                           "bin\\Server.exe"};

Problems Check(const std::vector<std::string>& lines, BmpInfo skin = {8, 4},
               const std::vector<std::string>* targets = &kTargets) {
    Settings settings = ParseSettings(testing::JoinLines(lines), "s.txt");
    EXPECT_TRUE(settings.problems.empty());
    return CheckSettingValues(settings, "s.txt", skin, targets);
}

std::string Described(const Problems& problems) {
    std::string text;
    for (const Problem& p : problems) text += Describe(p) + "\n";
    return text;
}

TEST(SettingsCheck, ValidSettingsPassAndOtherEditionsMayBeAbsent) {
    // SoftTrialExeName and SoftForFreeExeName name no file of the payload.
    EXPECT_EQ(Described(Check(testing::SettingsLines())), "");
    EXPECT_EQ(Described(Check(testing::SettingsLines(), {8, 4}, nullptr)), "");
}

TEST(SettingsCheck, SwappedAndMisspeltKeysAreRefusedWithTheirLines) {
    std::vector<std::string> lines = testing::SettingsLines();
    std::swap(lines[15], lines[16]);  // SoftYear and SoftVersion
    lines[11] = "Compnay=Tessik";
    EXPECT_EQ(Described(Check(lines)),
              "s.txt:12: Company: the line's key is \"Compnay\"; setting 12 of 23 must be Company\n"
              "s.txt:16: SoftYear: the line's key is \"SoftVersion\"; setting 16 of 23 must be "
              "SoftYear\n"
              "s.txt:17: SoftVersion: the line's key is \"SoftYear\"; setting 17 of 23 must be "
              "SoftVersion\n");
}

TEST(SettingsCheck, BadValuesAreRefusedWithLineAndKey) {
    const std::vector<std::tuple<int, std::string, std::string>> cases = {
        {15, "SoftYear=17", "s.txt:16: SoftYear: \"17\" is not a year"},
        {15, "SoftYear=２０１７", "s.txt:16: SoftYear:"},
        {16, "SoftVersion=6.0.x", "s.txt:17: SoftVersion: \"6.0.x\" is not a version"},
        {16, "SoftVersion=6..2", "s.txt:17: SoftVersion:"},
        {16, "SoftVersion=6.0.", "s.txt:17: SoftVersion:"},
        {16, "SoftVersion=1.2.3.4.5", "s.txt:17: SoftVersion:"},
        {16, "SoftVersion=6.70000", "s.txt:17: SoftVersion:"},
        {16, "SoftVersion=", "s.txt:17: SoftVersion:"},
        {11, "Company=", "s.txt:12: Company: the maker's name"},
        {11, "Company=A\\B", "s.txt:12: Company: the maker's name"},
        {12, "SoftSysName=", "s.txt:13: SoftSysName: the name must not be empty"},
        {13, "MainExeName=Missing.exe", "s.txt:14: MainExeName: \"Missing.exe\" is not a target"},
        {14, "UninstallName=", "s.txt:15: UninstallName: \"\" is not a target"},
        {18, "SvrExeName=Server.exe", "s.txt:19: SvrExeName: \"Server.exe\" is not a target"},
        {0, "FrmTop1BackRect=0,0,9,1", "s.txt:1: FrmTop1BackRect: the rectangle reaches outside"},
        {10, "BtnCloseRect=4,2,4,3", "s.txt:11: BtnCloseRect: the rectangle reaches outside"},
        {1, "FrmTop2BackRect=0,0,0,2", "s.txt:2: FrmTop2BackRect: the rectangle needs"},
        {2, "FrmCenter1BackRect=-1,0,2,2", "s.txt:3: FrmCenter1BackRect: the rectangle needs"},
        {3, "FrmCenter2BackRect=0,0,2", "s.txt:4: FrmCenter2BackRect: the value is not four"},
    };
    for (const auto& [index, line, expected] : cases) {
        std::vector<std::string> lines = testing::SettingsLines();
        lines[static_cast<std::size_t>(index)] = line;
        const std::string problems = Described(Check(lines));
        EXPECT_EQ(problems.rfind(expected, 0), 0u) << line << "\n" << problems;
        EXPECT_EQ(std::count(problems.begin(), problems.end(), '\n'), 1) << problems;
    }
}

TEST(SettingsCheck, TheServerIsLookedForInTheMainProgramsFolder) {
    std::vector<std::string> lines = testing::SettingsLines();
    lines[13] = "MainExeName=bin\\main.EXE";
    lines[18] = "SvrExeName=Server.exe";
    EXPECT_EQ(Described(Check(lines)), "");
    lines[18] = "SvrExeName=CONFIG.INI";
    EXPECT_NE(Described(Check(lines)).find("\"bin\\CONFIG.INI\" is not a target"),
              std::string::npos);
}

TEST(SettingsCheck, VersionTexts) {
    for (const char* good : {"6", "6.0.2", "1.2.3.4", "65535.0"}) EXPECT_TRUE(IsVersionText(good));
    for (const char* bad : {"", ".", "6 .0", "v6", "6.0.2-beta", "065536"})
        EXPECT_FALSE(IsVersionText(bad)) << bad;
}

}  // namespace
}  // namespace pack
