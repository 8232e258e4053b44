// setup-pack --init: the files it writes are a starting point that setup-pack itself accepts.
#include <gtest/gtest.h>

#include <sstream>

#include "../../skingen/src/layout.h"
#include "init.h"
#include "pack.h"
#include "test_support.h"

namespace pack {
namespace {

using testing::ReadFile;
using testing::WriteFile;

class InitTest : public testing::ScratchTest {
protected:
    void SetUp() override {
        ScratchTest::SetUp();
        for (const char* file : {"readme.txt", "data/a.txt", "bin/tool.exe", "uninstall.exe",
                                 "Server.exe", "Main.exe"})
            WriteFile(dir_ / "payload" / file, file);
        WriteFile(dir_ / "atlas.bmp", testing::Bitmap(skingen::kAtlasWidth, skingen::kAtlasHeight));
        options_.init = dir_ / "new";
        options_.payload = dir_ / "payload";
        options_.skin = dir_ / "atlas.bmp";
        options_.quiet = true;
    }
    Options options_;
    std::ostringstream log_;
};

TEST_F(InitTest, TheOrderFileListsTheTopFoldersProgramsFirst) {
    std::string error;
    EXPECT_EQ(PayloadTargets(dir_ / "payload", error),
              (std::vector<std::string>{"Main.exe", "Server.exe", "uninstall.exe", "bin\\tool.exe",
                                        "data\\a.txt", "readme.txt"}));
    EXPECT_EQ(error, "");
}

TEST_F(InitTest, ARunFromTheWrittenFilesPasses) {
    ASSERT_EQ(RunInit(options_, log_), 0) << log_.str();
    const fs::path dir = options_.init;
    EXPECT_EQ(ReadFile(dir / kInitSkinName), ReadFile(dir_ / "atlas.bmp"));
    const std::string settings = ReadFile(dir / kInitSettingsName);
    EXPECT_NE(settings.find("MainExeName=Main.exe\n"), std::string::npos) << settings;
    EXPECT_NE(settings.find("UninstallName=uninstall.exe\n"), std::string::npos) << settings;
    EXPECT_NE(settings.find("SvrExeName=Server.exe\n"), std::string::npos) << settings;
    const std::string pieces = ReadFile(dir / kInitPiecesName);
    for (const skingen::Piece& p : skingen::kPieces)
        EXPECT_NE(pieces.find(std::string(p.key) + "  "), std::string::npos) << p.key;

    WriteFile(dir_ / "licence.txt", "许可协议\n");
    Options pack;
    pack.settings = dir / kInitSettingsName;
    pack.order = dir / kInitOrderName;
    pack.skin = dir / kInitSkinName;
    pack.payload = options_.payload;
    pack.licence = dir_ / "licence.txt";
    pack.out = dir_ / "out";
    pack.quiet = true;
    EXPECT_EQ(RunPack(pack, log_), 0) << log_.str();
    EXPECT_EQ(log_.str(), "");  // not even a warning
}

TEST_F(InitTest, ReplacesNoFileAndWritesNothingThen) {
    WriteFile(options_.init / kInitOrderName, "mine\n");
    EXPECT_EQ(RunInit(options_, log_), 1);
    EXPECT_NE(log_.str().find("replaces no file"), std::string::npos) << log_.str();
    EXPECT_FALSE(fs::exists(options_.init / kInitSettingsName));
    EXPECT_EQ(ReadFile(options_.init / kInitOrderName), "mine\n");
}

TEST_F(InitTest, ABadSkinWritesNothing) {
    WriteFile(dir_ / "atlas.bmp", testing::Bitmap(8, 4, 32));
    EXPECT_EQ(RunInit(options_, log_), 1);
    EXPECT_FALSE(fs::exists(options_.init));
}

// --init and --deploy on their own need only what they read; neither without its partner.
TEST(InitAndDeployOptions, WhatEachNeeds) {
    auto parse = [](std::vector<const char*> args, std::string& error) {
        args.insert(args.begin(), "setup-pack");
        Options options;
        return ParseOptions(static_cast<int>(args.size()), args.data(), options, error);
    };
    std::string error;
    EXPECT_TRUE(parse({"--init", "d", "--payload", "p", "--skin", "s.bmp"}, error)) << error;
    EXPECT_FALSE(parse({"--init", "d", "--payload", "p"}, error));
    EXPECT_EQ(error, "--init needs --payload and --skin");
    EXPECT_TRUE(parse({"--deploy", "d", "--installer", "i.exe"}, error)) << error;
    EXPECT_FALSE(parse({"--deploy", "d"}, error));
    EXPECT_NE(error.find("--deploy needs --installer"), std::string::npos);
    EXPECT_FALSE(parse({"--deploy", "d", "--installer", "i.exe", "--settings", "s"}, error));
    EXPECT_EQ(error, "--payload is required");
}

}  // namespace
}  // namespace pack
