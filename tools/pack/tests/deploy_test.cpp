// The deploy folder written beside a finished installer, and the hash it carries. The files are
// parsed back by check_deploy.py (a YAML and a JSON parser) from the sample written here.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "deploy.h"
#include "deploy_installer.h"
#include "pack.h"
#include "pe_stub.h"
#include "sha256.h"
#include "test_support.h"

namespace pack {
namespace {

using testing::ReadFile;
using testing::WriteFile;

TEST(Sha256, KnownDigests) {
    EXPECT_EQ(Sha256Hex(""), "E3B0C44298FC1C149AFBF4C8996FB92427AE41E4649B934CA495991B7852B855");
    EXPECT_EQ(Sha256Hex("abc"), "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD");
    // 56 bytes: the length no longer fits the first padding block.
    EXPECT_EQ(Sha256Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248D6A61D20638B8E5C026930C3E6039A33CE45964FF2167F6ECEDD419DB06C1");
    EXPECT_EQ(Sha256Hex(std::string(1000000, 'a')),
              "CDC76E5C9914FB9281A1C7E284D73E67F1809A48A497200E046D39CCC7112CD0");
}

class DeployTest : public testing::ScratchTest {
protected:
    void SetUp() override {
        ScratchTest::SetUp();
        std::vector<std::string> lines = testing::SettingsLines();
        lines[16] = "SoftVersion= 6.0.2\t";  // the installer trims the value, as must the files
        WriteFile(dir_ / "settings.txt", testing::JoinLines(lines));
        WriteFile(dir_ / "payload/CONFIG.INI", "[a]\r\n");
        WriteFile(dir_ / "payload/empty.dat", "");
        WriteFile(dir_ / "order.txt", "CONFIG.INI\nempty.dat\n");
        WriteFile(dir_ / "skin.bmp", testing::Bitmap(8, 4));
        WriteFile(dir_ / "licence.txt", "许可协议\n");
        WriteFile(
            dir_ / "stub.exe",
            pe::testing::BuildStub(pe::testing::Layout::kResourcesThenRelocations, false, 512));
        options_ = {dir_ / "settings.txt", dir_ / "payload",     dir_ / "order.txt",
                    dir_ / "skin.bmp",     dir_ / "licence.txt", dir_ / "out"};
        options_.stub = dir_ / "stub.exe";
        options_.installer = dir_ / "setup.exe";
        options_.deploy = dir_ / "deploy";
        options_.quiet = true;
    }

    Options options_;
};

TEST_F(DeployTest, WrittenBesideTheInstallerWithItsHash) {
    std::ostringstream log;
    ASSERT_EQ(RunPack(options_, log), 0) << log.str();
    const std::string yaml = ReadFile(dir_ / "deploy" / kWingetFileName);
    EXPECT_NE(yaml.find("InstallerSha256: " + Sha256Hex(ReadFile(dir_ / "setup.exe"))),
              std::string::npos)
        << yaml;
    EXPECT_NE(yaml.find("DisplayVersion: \"6.0.2\"\n"), std::string::npos) << yaml;
    EXPECT_TRUE(fs::exists(dir_ / "deploy" / kDetectionFileName));
    const std::string text = ReadFile(dir_ / "deploy" / kSwitchesFileName);
    EXPECT_NE(text.find("1602  用户取消了安装"), std::string::npos) << text;
}

// Signing changes the file: the folder written on its own afterwards has the new hash, and the
// settings read back from the installer.
TEST_F(DeployTest, WrittenOnItsOwnForAnInstallerChangedAfterTheBuild) {
    options_.deploy.clear();
    std::ostringstream log;
    ASSERT_EQ(RunPack(options_, log), 0) << log.str();
    EXPECT_FALSE(fs::exists(dir_ / "deploy"));
    WriteFile(dir_ / "setup.exe", ReadFile(dir_ / "setup.exe") + "signature");
    ASSERT_EQ(RunDeploy(dir_ / "setup.exe", dir_ / "deploy", log), 0) << log.str();
    const std::string yaml = ReadFile(dir_ / "deploy" / kWingetFileName);
    EXPECT_NE(yaml.find(Sha256Hex(ReadFile(dir_ / "setup.exe"))), std::string::npos) << yaml;
    EXPECT_NE(yaml.find("DisplayVersion: \"6.0.2\"\n"), std::string::npos) << yaml;

    WriteFile(dir_ / "other.exe", ReadFile(dir_ / "stub.exe"));
    EXPECT_EQ(RunDeploy(dir_ / "other.exe", dir_ / "deploy2", log), 1);
    EXPECT_NE(log.str().find("no settings line 1001"), std::string::npos) << log.str();
    EXPECT_FALSE(fs::exists(dir_ / "deploy2"));
}

TEST_F(DeployTest, NothingIsWrittenForRefusedSettings) {
    std::vector<std::string> lines = testing::SettingsLines();
    lines[16] = "SoftVersion=2017";
    lines[15] = "SoftYear=6.0.2";
    WriteFile(dir_ / "settings.txt", testing::JoinLines(lines));
    std::ostringstream log;
    EXPECT_EQ(RunPack(options_, log), 1);
    EXPECT_FALSE(fs::exists(dir_ / "deploy"));
    EXPECT_FALSE(fs::exists(dir_ / "setup.exe"));
}

// Run by ctest (test setup_pack_deploy_sample) with SETUP_PACK_DEPLOY_SAMPLE set: leaves the
// settings, the installer and its deploy folder there for check_deploy.py.
class DeploySample : public DeployTest {};
TEST_F(DeploySample, WritesTheFilesForTheParserCheck) {
    const char* sample = std::getenv("SETUP_PACK_DEPLOY_SAMPLE");
    if (!sample) GTEST_SKIP() << "SETUP_PACK_DEPLOY_SAMPLE is not set";
    const fs::path out = sample;
    fs::remove_all(out);
    fs::create_directories(out);
    fs::copy_file(dir_ / "settings.txt", out / "settings.txt");
    options_.installer = out / "setup.exe";
    options_.deploy = out / "deploy";
    std::ostringstream log;
    ASSERT_EQ(RunPack(options_, log), 0) << log.str();
}

}  // namespace
}  // namespace pack
