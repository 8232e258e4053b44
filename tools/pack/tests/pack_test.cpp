// Whole runs of setup-pack on a small payload: the script and the framed files it writes, what a
// second run leaves alone, and that bad input writes nothing.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <sstream>

#include "installer_listing.h"
#include "pack.h"
#include "pe/resource_list.h"
#include "pe_stub.h"
#include "test_support.h"

namespace pack {
namespace {

using testing::ReadFile;
using testing::Unframe;
using testing::WriteFile;

class PackTest : public testing::ScratchTest {
protected:
    void SetUp() override {
        ScratchTest::SetUp();
        WriteFile(dir_ / "settings.txt", testing::JoinLines(testing::SettingsLines()));
        WriteFile(dir_ / "payload/CONFIG.INI", "[a]\r\nb=1\r\n");
        WriteFile(dir_ / "payload/data/log/同步.log", std::string(100000, 'x'));
        WriteFile(dir_ / "payload/empty.dat", "");
        WriteFile(dir_ / "order.txt", "CONFIG.INI\ndata\\log\\同步.log\nempty.dat\n");
        WriteFile(dir_ / "skin.bmp", testing::Bitmap(8, 4));
        WriteFile(dir_ / "licence.txt", "许可协议\n第二行");
        options_ = {dir_ / "settings.txt", dir_ / "payload",     dir_ / "order.txt",
                    dir_ / "skin.bmp",     dir_ / "licence.txt", dir_ / "out"};
        options_.quiet = true;
    }

    int Run() {
        log_.str("");
        return RunPack(options_, log_);
    }

    // Last write times of every file in the output folder.
    std::map<std::string, fs::file_time_type> Times() const {
        std::map<std::string, fs::file_time_type> times;
        for (const auto& e : fs::directory_iterator(dir_ / "out"))
            times[e.path().filename().string()] = e.last_write_time();
        return times;
    }

    Options options_;
    std::ostringstream log_;
};

TEST_F(PackTest, WritesTheFramedFilesTheInstallerReads) {
    ASSERT_EQ(Run(), 0) << log_.str();
    // The installer is written straight from these files: no resource script beside them.
    EXPECT_FALSE(fs::exists(dir_ / "out/setup.rc"));
    EXPECT_EQ(Unframe(ReadFile(dir_ / "out/MyFile0000.bin")), "[a]\r\nb=1\r\n");
    EXPECT_EQ(Unframe(ReadFile(dir_ / "out/MyFile0001.bin")), std::string(100000, 'x'));
    EXPECT_EQ(Unframe(ReadFile(dir_ / "out/MyFile0002.bin")), "");
    EXPECT_EQ(Unframe(ReadFile(dir_ / "out/MainBmp.bin")), testing::Bitmap(8, 4));
    EXPECT_EQ(Unframe(ReadFile(dir_ / "out/MainRect.bin")),
              "\xD0\xED\xBF\xC9\xD0\xAD\xD2\xE9\r\n\xB5\xDA\xB6\xFE\xD0\xD0\r\n");
}

TEST_F(PackTest, ASecondRunRewritesOnlyWhatChanged) {
    ASSERT_EQ(Run(), 0) << log_.str();
    const auto first = Times();
    ASSERT_EQ(Run(), 0) << log_.str();
    EXPECT_EQ(Times(), first);

    WriteFile(dir_ / "payload/CONFIG.INI", "[a]\r\nb=2\r\n");
    ASSERT_EQ(Run(), 0) << log_.str();
    auto after = Times();
    for (const auto& [name, time] : first) {
        const bool rewritten = after[name] != time;
        const bool expected =
            name == "MyFile0000.bin" || name == "MainSum.bin" || name == "pack.stamps";
        EXPECT_EQ(rewritten, expected) << name;
    }
    EXPECT_EQ(Unframe(ReadFile(dir_ / "out/MyFile0000.bin")), "[a]\r\nb=2\r\n");

    // An output damaged by hand is made again even though its source did not change.
    WriteFile(dir_ / "out/MyFile0001.bin", "damaged");
    ASSERT_EQ(Run(), 0) << log_.str();
    EXPECT_EQ(Unframe(ReadFile(dir_ / "out/MyFile0001.bin")), std::string(100000, 'x'));
}

TEST_F(PackTest, AShorterPayloadRemovesTheOutputsItNoLongerNames) {
    ASSERT_EQ(Run(), 0) << log_.str();
    // The programs the settings name stay.
    WriteFile(dir_ / "order.txt", "CONFIG.INI\nempty.dat\n");
    ASSERT_EQ(Run(), 0) << log_.str();
    EXPECT_TRUE(fs::exists(dir_ / "out/MyFile0001.bin"));
    EXPECT_FALSE(fs::exists(dir_ / "out/MyFile0002.bin"));
}

TEST_F(PackTest, OutputsAnEarlierRunLeftAreRemovedAndOtherFilesKept) {
    ASSERT_EQ(Run(), 0) << log_.str();
    const fs::path out = dir_ / "out";
    // An earlier run's: more entries, a solid payload's blocks, interrupted writes.
    const std::vector<std::string> stale = {"MyFile0003.bin", "MyFile0000.bin.tmp",
                                            "MyFile0000000000.bin", "MyBlock0000.bin",
                                            "MyBlock0001.bin.tmp"};
    // Names setup-pack never writes.
    const std::vector<std::string> kept = {"MyFile12.bin", "MyFile0003.txt", "MyFileA0003.bin",
                                           "notes.txt"};
    for (const std::string& name : stale) WriteFile(out / name, "old");
    for (const std::string& name : kept) WriteFile(out / name, "mine");
    ASSERT_EQ(Run(), 0) << log_.str();
    for (const std::string& name : stale) EXPECT_FALSE(fs::exists(out / name)) << name;
    for (const std::string& name : kept) EXPECT_TRUE(fs::exists(out / name)) << name;
    EXPECT_EQ(Unframe(ReadFile(out / "MyFile0000.bin")), "[a]\r\nb=1\r\n");
}

TEST_F(PackTest, OneThreadAndManyGiveTheSameBytes) {
    options_.jobs = 1;
    ASSERT_EQ(Run(), 0) << log_.str();
    fs::rename(dir_ / "out", dir_ / "one");
    options_.jobs = 8;
    ASSERT_EQ(Run(), 0) << log_.str();
    for (const char* name :
         {"MyFile0000.bin", "MyFile0001.bin", "MyFile0002.bin", "MainBmp.bin", "MainRect.bin"})
        EXPECT_TRUE(ReadFile(dir_ / "one" / name) == ReadFile(dir_ / "out" / name)) << name;
}

TEST_F(PackTest, BadInputIsReportedWithFileAndLineAndNothingIsWritten) {
    WriteFile(dir_ / "order.txt", "CONFIG.INI\n..\\..\\Windows\\evil.dll\n");
    WriteFile(dir_ / "skin.bmp", testing::Bitmap(8, 4, 8));
    fs::remove(dir_ / "licence.txt");
    EXPECT_EQ(Run(), 1);
    const std::string log = log_.str();
    EXPECT_NE(log.find((dir_ / "order.txt").string() + ":2: "), std::string::npos) << log;
    EXPECT_NE(log.find((dir_ / "skin.bmp").string() + ": 8 bits per pixel"), std::string::npos)
        << log;
    EXPECT_NE(log.find((dir_ / "licence.txt").string() +
                       ": cannot read the licence text: No such file or directory"),
              std::string::npos)
        << log;
    EXPECT_FALSE(fs::exists(dir_ / "out"));
}

// Root writes wherever it likes, so the writes are made to fail by what stands at the path.
TEST_F(PackTest, AFailedWriteGivesTheReasonAndLeavesNoTemporaryFile) {
    const fs::path out = dir_ / "out";
    if (fs::exists("/dev/full")) {
        fs::create_directories(out);
        fs::create_symlink("/dev/full", out / "MainRect.bin.tmp");
        EXPECT_EQ(Run(), 1);
        EXPECT_NE(log_.str().find("cannot write " + (out / "MainRect.bin.tmp").string() +
                                  ": No space left on device"),
                  std::string::npos)
            << log_.str();
        EXPECT_FALSE(fs::exists(fs::symlink_status(out / "MainRect.bin.tmp")));
        EXPECT_FALSE(fs::exists(out / "MainRect.bin"));
    }

    fs::create_directories(out / "MainSum.bin/in-the-way");
    EXPECT_EQ(Run(), 1);
    EXPECT_NE(log_.str().find("cannot rename " + (out / "MainSum.bin.tmp").string() + " to " +
                              (out / "MainSum.bin").string() + ": Is a directory"),
              std::string::npos)
        << log_.str();
    EXPECT_FALSE(fs::exists(out / "MainSum.bin.tmp"));

    fs::remove_all(out / "MainSum.bin");
    ASSERT_EQ(Run(), 0) << log_.str();
    EXPECT_EQ(Unframe(ReadFile(out / "MainRect.bin")),
              "\xD0\xED\xBF\xC9\xD0\xAD\xD2\xE9\r\n\xB5\xDA\xB6\xFE\xD0\xD0\r\n");
}

// What the installer could not read, or reads outside its skin, is refused with the file, the
// line and the problem; nothing is written.
TEST_F(PackTest, RefusesRectanglesTheInstallerCannotReadOrThatLeaveTheSkin) {
    const std::string settings = ReadFile(dir_ / "settings.txt");
    const std::string rest = settings.substr(settings.find('\n') + 1);
    for (const auto& [line, problem] : std::vector<std::pair<std::string, std::string>>{
             {"FrmTop1BackRect=0,0,9,1",
              "settings.txt:1: FrmTop1BackRect: the rectangle reaches outside the 8 x 4 skin"},
             {"FrmTop1BackRect=0,0,2",
              "settings.txt:1: FrmTop1BackRect: the value is not four integers x,y,w,h"},
             {"FrmTop1BackRect=0,x,2,2",
              "settings.txt:1: FrmTop1BackRect: the value is not four integers x,y,w,h"}}) {
        WriteFile(dir_ / "settings.txt", line + "\n" + rest);
        log_.str("");
        EXPECT_EQ(Run(), 1) << line;
        const std::string log = log_.str();
        EXPECT_NE(log.find("setup-pack: error: " + (dir_ / problem).string()), std::string::npos)
            << log;
        EXPECT_NE(log.find("nothing written"), std::string::npos) << log;
        EXPECT_FALSE(fs::exists(dir_ / "out")) << line;
    }
}

TEST_F(PackTest, WarnsAboutUnlistedFiles) {
    WriteFile(dir_ / "payload/stray.txt", "s");
    options_.quiet = false;
    ASSERT_EQ(Run(), 0) << log_.str();
    EXPECT_NE(log_.str().find("stray.txt is not in the order file"), std::string::npos)
        << log_.str();
}

// The finished installer: the stub's own resources kept, the settings and the file list in the
// string table, every framed file as its named resource; --list reads it all back.
TEST_F(PackTest, WritesTheInstallerIntoTheStubAndListsWhatItCarries) {
    using pe::testing::BuildStub;
    WriteFile(dir_ / "stub.exe",
              BuildStub(pe::testing::Layout::kResourcesThenRelocations, false, 512));
    options_.stub = dir_ / "stub.exe";
    options_.installer = dir_ / "setup.exe";
    ASSERT_EQ(Run(), 0) << log_.str();

    const std::string installer = ReadFile(dir_ / "setup.exe");
    const pe::ResourceListing listing = pe::ListResources(installer);
    EXPECT_TRUE(listing.problems.empty());
    std::map<unsigned, std::string> strings;
    for (const pe::ListedString& s : listing.strings) strings[s.id] = s.text;
    EXPECT_EQ(strings[1000], "stub");
    EXPECT_EQ(strings[1001], "FrmTop1BackRect=0,0,4,2");
    EXPECT_EQ(strings[1013], "SoftSysName=A \"quoted\" C:\\path\tname");
    EXPECT_EQ(strings[2001], "data*log*同步.log");
    EXPECT_EQ(strings.count(2003), 0u);
    EXPECT_NE(installer.find(ReadFile(dir_ / "out/MyFile0001.bin")), std::string::npos);

    std::ostringstream out, errors;
    ASSERT_EQ(ListInstaller(dir_ / "setup.exe", out, errors), 0) << errors.str();
    const std::string list = out.str();
    const auto framed = fs::file_size(dir_ / "out/MyFile0001.bin");
    EXPECT_NE(list.find("  1002  FrmTop2BackRect=0,0,4,2\n"), std::string::npos) << list;
    EXPECT_NE(list.find("file list (3 entries"), std::string::npos) << list;
    EXPECT_NE(
        list.find("  MyFile0001  " + std::to_string(framed) + "  100000  data*log*同步.log\n"),
        std::string::npos)
        << list;
    EXPECT_NE(list.find("type 24, name 1, language 1033"), std::string::npos) << list;
    EXPECT_NE(list.find("type \"MYRES1\", name \"MAINBMP\", language 2052"), std::string::npos)
        << list;
    EXPECT_NE(list.find("type 16, name 1, language 2052"), std::string::npos) << list;
    EXPECT_EQ(list.find("MYRES0001"), std::string::npos) << list;

    EXPECT_EQ(ListInstaller(dir_ / "order.txt", out, errors), 1);
    EXPECT_NE(errors.str().find("order.txt: "), std::string::npos) << errors.str();
}

TEST_F(PackTest, AStubThatCannotTakeThePayloadStopsTheRunBeforeAnythingIsWritten) {
    WriteFile(dir_ / "stub.exe", "MZ but nothing more");
    options_.stub = dir_ / "stub.exe";
    options_.installer = dir_ / "setup.exe";
    EXPECT_EQ(Run(), 1);
    EXPECT_NE(log_.str().find((dir_ / "stub.exe").string() + ": "), std::string::npos)
        << log_.str();
    EXPECT_FALSE(fs::exists(dir_ / "out"));
    EXPECT_FALSE(fs::exists(dir_ / "setup.exe"));
}

}  // namespace
}  // namespace pack
