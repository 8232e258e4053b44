#include "install/place_file.h"

#include <gtest/gtest.h>

#include "platform/error.h"
#include "support/install_fixture.h"

namespace setup {
namespace {

using Kind = MemoryDialogs::Kind;

class PlaceFileTest : public ::testing::Test, protected testing::InstallFixture {
protected:
    PlaceFileTest() { AddPayload(0, "new contents"); }

    void Place(const std::string& target) {
        PlaceFile(session, PayloadResourceName(0), PayloadResourceType(0), target);
    }
};

TEST_F(PlaceFileTest, WritesTheUnpackedBytesAfterShowingTheName) {
    std::string target = InDir("a.dll");
    Place(target);
    EXPECT_EQ(FileText(target), "new contents");
    EXPECT_EQ(window.copy_captions, std::vector<std::string>{"正在复制文件：" + target});
    EXPECT_TRUE(dialogs.ShownDialogs().empty());
}

TEST_F(PlaceFileTest, ABlankResourceNameDoesNothingAtAll) {
    PlaceFile(session, " \t", "Myres0000", InDir("a.dll"));
    PlaceFile(session, "", "", "");
    EXPECT_TRUE(window.copy_captions.empty());
    EXPECT_TRUE(files.WrittenFiles().empty());
}

TEST_F(PlaceFileTest, ResourceErrorsPassToTheCaller) {
    try {
        PlaceFile(session, "MyFile0007", "Myres0007", InDir("a.dll"));
        FAIL() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_STREQ(e.what(), "Resource MyFile0007 not found");
    }
    EXPECT_FALSE(files.FileExists(InDir("a.dll")));
}

TEST_F(PlaceFileTest, ExistingProtectedFilesAreKeptSilentlyMissingOnesWritten) {
    for (std::string name : {"data\\PrintDB.mdb", "POS.ini", "posini.ini", "CONFIG.INI",
                             "config.ini", "Swccfg.dat", "backupPOS.ini.old"}) {
        SCOPED_TRACE(name);
        files.AddDirectory(InDir("data"));
        files.AddFile(InDir(name), {'o', 'l', 'd'});
        Place(InDir(name));
        EXPECT_EQ(FileText(InDir(name)), "old");
    }
    EXPECT_TRUE(window.copy_captions.empty());

    Place(InDir("posini2.ini"));  // first installation: written
    EXPECT_EQ(FileText(InDir("posini2.ini")), "new contents");
}

TEST_F(PlaceFileTest, ADirectoryNamedLikeAProtectedFileProtectsEveryExistingFile) {
    UseInstallDir("D:\\CONFIG.INI\\app");
    files.AddFile(InDir("readme.txt"), {'o', 'l', 'd'});
    Place(InDir("readme.txt"));
    Place(InDir("new.txt"));
    EXPECT_EQ(FileText(InDir("readme.txt")), "old");
    EXPECT_EQ(FileText(InDir("new.txt")), "new contents");
}

TEST_F(PlaceFileTest, AFileThatIsNoGuardedProgramGivesX001WithItsUpperCasedName) {
    files.Refuse(InDir("Borlndmm.dll"));
    Place(InDir("Borlndmm.dll"));
    EXPECT_EQ(
        dialogs.ShownDialogs(),
        (std::vector<MemoryDialogs::Shown>{{Kind::Error, "文件 BORLNDMM.DLL复制出错(X001)！ "}}));
}

TEST_F(PlaceFileTest, AGuardedProgramWithoutItsWindowGivesX002WithoutExtension) {
    std::string target = InDir("scktsrvr.exe");
    processes.Launch("scktsrvr.exe", {"Socket Server"}, {target});
    Place(target);
    EXPECT_EQ(dialogs.ShownDialogs(),
              (std::vector<MemoryDialogs::Shown>{{Kind::Error, "文件 SCKTSRVR复制出错(X002)！ "}}));
    EXPECT_TRUE(processes.Terminated().empty());
}

TEST_F(PlaceFileTest, YesEndsTheRunningProgramAndTheSecondWriteReplacesIt) {
    std::string target = InDir("TessikOne商贸版.Exe");
    std::uint32_t running = processes.Launch("TessikOne商贸版.Exe", {"TessikOne商贸版"}, {target});
    std::uint32_t elsewhere = processes.Launch("tessikone商贸版.exe", {}, {});
    std::uint32_t other = processes.Launch("notepad.exe", {"TessikOne商贸版.txt"}, {});
    processes.SetSlowExit(true);  // the file is free only once the ended process is waited for
    dialogs.AnswerNext(true);
    Place(target);
    EXPECT_EQ(dialogs.ShownDialogs(),
              (std::vector<MemoryDialogs::Shown>{
                  {Kind::Warning, "程序 TESSIKONE商贸版正在运行，是否强制结束它? "}}));
    EXPECT_EQ(processes.Terminated(), (std::vector<std::uint32_t>{running, elsewhere}));
    EXPECT_TRUE(processes.IsRunning(other));
    EXPECT_EQ(FileText(target), "new contents");
}

TEST_F(PlaceFileTest, NoLeavesTheProgramAndReportsTheFailedSecondWrite) {
    std::string target = InDir("scktsrvr.exe");
    std::uint32_t id = processes.Launch("scktsrvr.exe", {"SCKTSRVR"}, {target});
    dialogs.AnswerNext(false);
    Place(target);
    EXPECT_EQ(dialogs.ShownDialogs(),
              (std::vector<MemoryDialogs::Shown>{
                  {Kind::Warning, "程序 SCKTSRVR正在运行，是否强制结束它? "},
                  {Kind::Error, "文件 SCKTSRVR复制出错(X002)！ "}}));
    EXPECT_TRUE(processes.IsRunning(id));
    EXPECT_FALSE(files.FileExists(target));
}

TEST_F(PlaceFileTest, YesWhoseSecondWriteStillFailsIsReported) {
    std::string target = InDir("TessikOne商贸版服务器.exe");
    processes.Launch("TessikOne商贸版服务器.exe", {"TessikOne商贸版服务器"}, {target});
    files.Lock(target, 9999);  // held by something that is not ended
    dialogs.AnswerNext(true);
    Place(target);
    ASSERT_EQ(dialogs.ShownDialogs().size(), 2u);
    EXPECT_EQ(dialogs.ShownDialogs()[1],
              (MemoryDialogs::Shown{Kind::Error, "文件 TESSIKONE商贸版服务器复制出错(X002)！ "}));
}

TEST(ProgramGuard, RunningMeansAWholeWindowTitleAndKillMatchesNameOrWholePath) {
    MemoryProcesses processes;
    processes.AddWindow("");
    processes.AddWindow("scktsrvr - notes");
    EXPECT_FALSE(IsProgramRunning(processes, "SCKTSRVR"));
    processes.AddWindow("ScktSrvr");
    EXPECT_TRUE(IsProgramRunning(processes, "SCKTSRVR"));

    std::uint32_t by_name = processes.Launch("SCKTSRVR.EXE");
    std::uint32_t by_path = processes.Launch("c:\\app\\scktsrvr.exe");
    processes.Launch("scktsrvr.exe.bak");
    processes.Launch("old_scktsrvr.exe");
    EXPECT_EQ(KillProgram(processes, "C:\\APP\\scktsrvr.exe"),
              (std::vector<std::uint32_t>{by_name, by_path}));
    EXPECT_EQ(processes.Snapshot().size(), 2u);
}

}  // namespace
}  // namespace setup
