// Links planted where the installer writes its own files (the default log, the temporary file of
// a replacement): hard links to a file that must stay untouched, in a real folder under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/log_file.h"
#include "platform/win32/win32_file_system.h"
#include "scratch.h"

namespace setup {
namespace {

using testing::Pid;
using testing::ReadWholeFile;
using testing::ScratchFolder;
using testing::TouchFile;

class PlantedLinks : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = ScratchFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
        target_ = folder_ + "\\victim.dat";
        ASSERT_TRUE(TouchFile(target_, "must stay"));
    }
    // A hard link at name (in the scratch folder) to the victim.
    void Plant(const std::string& name) {
        ASSERT_TRUE(CreateHardLinkA((folder_ + "\\" + name).c_str(), target_.c_str(), nullptr))
            << name << " " << GetLastError();
    }
    void ExpectVictimUntouched() { EXPECT_EQ(ReadWholeFile(target_), "must stay"); }

    std::string folder_, target_;
};

TEST_F(PlantedLinks, TheDefaultLogTakesANewNameAndNeverWritesThroughALink) {
    // The fixed name of earlier versions and the first names this process would take.
    Plant("TessikSetup.log");
    for (int n = 1; n <= 3; ++n) Plant("TessikSetup-" + Pid() + "-" + std::to_string(n) + ".log");
    const std::string fourth = folder_ + "\\TessikSetup-" + Pid() + "-4.log";
    {
        win32::LogFile log = win32::LogFile::CreateNew(folder_);
        ASSERT_TRUE(log.Open());
        EXPECT_EQ(log.Path(), fourth);
        EXPECT_TRUE(log.WriteLine("a line of the log"));
    }
    ExpectVictimUntouched();
    EXPECT_EQ(ReadWholeFile(fourth), "a line of the log\r\n");
}

TEST_F(PlantedLinks, AReplacementNeverWritesItsTemporaryFileThroughALink) {
    const std::string file = folder_ + "\\program.exe";
    ASSERT_TRUE(TouchFile(file, "old"));
    for (int n = 1; n <= 2; ++n) Plant("~ts" + Pid() + "-" + std::to_string(n) + ".tmp");
    Win32FileSystem files;
    const std::string content = "the new program";
    const Result written = files.WriteWholeFile(file, [&](const ByteSink& sink) {
        sink(Bytes(reinterpret_cast<const std::uint8_t*>(content.data()), content.size()));
    });
    EXPECT_TRUE(written.ok) << written.error;
    EXPECT_EQ(ReadWholeFile(file), content);
    ExpectVictimUntouched();
    // The planted names are left as they were: nothing of the installer's is behind them.
    EXPECT_EQ(ReadWholeFile(folder_ + "\\~ts" + Pid() + "-1.tmp"), "must stay");
}

}  // namespace
}  // namespace setup
