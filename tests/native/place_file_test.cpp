#include "install/place_file.h"

#include <gtest/gtest.h>

#include "install/file_holders.h"
#include "platform/error.h"
#include "support/install_fixture.h"

namespace setup {
namespace {

using Kind = MemoryDialogs::Kind;

class PlaceFileTest : public ::testing::Test, protected testing::InstallFixture {
protected:
    PlaceFileTest() { AddPayload(0, "new contents"); }

    PlaceOutcome Place(const std::string& target) {
        return PlaceFile(session, PayloadResourceName(0), PayloadResourceType(0), target);
    }
};

TEST_F(PlaceFileTest, WritesTheUnpackedBytesAfterShowingTheName) {
    std::string target = InDir("a.dll");
    EXPECT_EQ(Place(target).placement, Placement::Written);
    EXPECT_EQ(FileText(target), "new contents");
    EXPECT_EQ(window.copy_captions, std::vector<std::string>{"正在复制文件：" + target});
    EXPECT_EQ(window.long_copies, 0);  // a small file's name is painted with the progress
    EXPECT_TRUE(dialogs.ShownDialogs().empty());
}

// A large file takes long enough to write that the window is told once, while it is written.
TEST_F(PlaceFileTest, ALargeFileHasItsNameShownWhileItIsWritten) {
    const std::string large(3u << 20, 'x');
    AddPayload(1, large);
    const std::string target = InDir("big.dat");
    EXPECT_EQ(PlaceFile(session, PayloadResourceName(1), PayloadResourceType(1), target).placement,
              Placement::Written);
    EXPECT_EQ(window.long_copies, 1);
    EXPECT_EQ(FileText(target), large);
}

TEST_F(PlaceFileTest, ABlankResourceNameDoesNothingAtAll) {
    EXPECT_EQ(PlaceFile(session, " \t", "Myres0000", InDir("a.dll")).placement, Placement::Nothing);
    EXPECT_EQ(PlaceFile(session, "", "", "").placement, Placement::Nothing);
    EXPECT_TRUE(window.copy_captions.empty());
    EXPECT_TRUE(files.WrittenFiles().empty());
}

TEST_F(PlaceFileTest, ResourceErrorsPassToTheCallerAndLeaveTheOldFile) {
    files.AddFile(InDir("a.dll"), {'o', 'l', 'd'});
    try {
        (void)PlaceFile(session, "MyFile0007", "Myres0007", InDir("a.dll"));
        FAIL() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_STREQ(e.what(), "Resource MyFile0007 not found");
    }
    std::vector<std::uint8_t> damaged = testing::Frame("new contents");
    damaged[damaged.size() - 2] ^= 0xFF;  // the trailer no longer matches
    resources.SetResource(PayloadResourceType(1), PayloadResourceName(1), damaged);
    EXPECT_THROW(
        (void)PlaceFile(session, PayloadResourceName(1), PayloadResourceType(1), InDir("a.dll")),
        RuntimeError);
    EXPECT_EQ(FileText(InDir("a.dll")), "old");
}

TEST_F(PlaceFileTest, AFullDiskFailsTheWriteAndKeepsTheOldFileWhole) {
    files.AddFile(InDir("a.dll"), {'o', 'l', 'd'});
    files.SetFreeSpace('D', 5);
    const PlaceOutcome placed = Place(InDir("a.dll"));
    EXPECT_EQ(placed.placement, Placement::Failed);
    EXPECT_EQ(placed.reason, "X001");
    EXPECT_EQ(placed.system_error, kErrorDiskFull);
    EXPECT_EQ(FileText(InDir("a.dll")), "old");
}

TEST_F(PlaceFileTest, ExistingProtectedFilesAreKeptSilentlyMissingOnesWritten) {
    for (std::string name : {"data\\PrintDB.mdb", "POS.ini", "posini.ini", "CONFIG.INI",
                             "config.ini", "Swccfg.dat", "backupPOS.ini.old"}) {
        SCOPED_TRACE(name);
        files.AddDirectory(InDir("data"));
        files.AddFile(InDir(name), {'o', 'l', 'd'});
        EXPECT_EQ(Place(InDir(name)).placement, Placement::Kept);
        EXPECT_EQ(FileText(InDir(name)), "old");
    }
    EXPECT_TRUE(window.copy_captions.empty());

    EXPECT_EQ(Place(InDir("posini2.ini")).placement, Placement::Written);  // first installation
    EXPECT_EQ(FileText(InDir("posini2.ini")), "new contents");
}

// Only the file's own name counts: a folder named like a protected file protects nothing.
TEST_F(PlaceFileTest, AFolderNamedLikeAProtectedFileProtectsNothing) {
    UseInstallDir("D:\\CONFIG.INI\\POS.ini");
    files.AddFile(InDir("readme.txt"), {'o', 'l', 'd'});
    EXPECT_EQ(Place(InDir("readme.txt")).placement, Placement::Written);
    EXPECT_EQ(FileText(InDir("readme.txt")), "new contents");
    EXPECT_TRUE(IsProtectedName("D:\\app\\data\\printdb.MDB"));
    EXPECT_FALSE(IsProtectedName("D:\\PrintDB.mdb\\readme.txt"));
}

TEST_F(PlaceFileTest, AFileThatIsNoGuardedProgramGivesX001WithItsUpperCasedName) {
    files.Refuse(InDir("Borlndmm.dll"));
    const PlaceOutcome placed = Place(InDir("Borlndmm.dll"));
    EXPECT_EQ(placed.placement, Placement::Failed);
    EXPECT_EQ(placed.reason, "X001");
    EXPECT_EQ(
        dialogs.ShownDialogs(),
        (std::vector<MemoryDialogs::Shown>{{Kind::Error, "文件 BORLNDMM.DLL复制出错(X001)！ "}}));
}

TEST_F(PlaceFileTest, AGuardedProgramWithoutItsWindowGivesX002WithoutExtension) {
    std::string target = InDir("scktsrvr.exe");
    processes.Launch(target, {"Socket Server"}, {target});
    EXPECT_EQ(Place(target).reason, "X002");
    EXPECT_EQ(dialogs.ShownDialogs(),
              (std::vector<MemoryDialogs::Shown>{{Kind::Error, "文件 SCKTSRVR复制出错(X002)！ "}}));
    EXPECT_TRUE(processes.Terminated().empty());
}

// Yes ends the program whose file is replaced, and no other process of the same name: another
// product's copy started from another folder goes on running.
TEST_F(PlaceFileTest, YesEndsOnlyTheProgramWhoseFileIsReplaced) {
    std::string target = InDir("TessikOne商贸版.Exe");
    std::uint32_t running = processes.Launch(target, {"TessikOne商贸版"}, {target});
    std::uint32_t elsewhere = processes.Launch("C:\\other\\tessikone商贸版.exe");
    std::uint32_t other = processes.Launch("notepad.exe", {"TessikOne商贸版.txt"}, {});
    processes.SetSlowExit(true);  // the file is free only once the ended process is waited for
    dialogs.AnswerNext(true);
    EXPECT_EQ(Place(target).placement, Placement::Written);
    EXPECT_EQ(dialogs.ShownDialogs(),
              (std::vector<MemoryDialogs::Shown>{
                  {Kind::Warning, "程序 TESSIKONE商贸版正在运行，是否强制结束它? "}}));
    EXPECT_EQ(processes.Terminated(), (std::vector<std::uint32_t>{running}));
    EXPECT_TRUE(processes.IsRunning(elsewhere));
    EXPECT_TRUE(processes.IsRunning(other));
    EXPECT_EQ(FileText(target), "new contents");
}

TEST_F(PlaceFileTest, NoLeavesTheProgramAndItsFileAndReportsTheFailedSecondWrite) {
    std::string target = InDir("scktsrvr.exe");
    files.AddFile(target, {'o', 'l', 'd'});
    std::uint32_t id = processes.Launch(target, {"SCKTSRVR"}, {target});
    dialogs.AnswerNext(false);
    const PlaceOutcome placed = Place(target);
    EXPECT_EQ(placed.placement, Placement::Failed);
    EXPECT_EQ(placed.reason, "X002");
    EXPECT_EQ(dialogs.ShownDialogs(),
              (std::vector<MemoryDialogs::Shown>{
                  {Kind::Warning, "程序 SCKTSRVR正在运行，是否强制结束它? "},
                  {Kind::Error, "文件 SCKTSRVR复制出错(X002)！ "}}));
    EXPECT_TRUE(processes.IsRunning(id));
    EXPECT_EQ(FileText(target), "old");
}

// After Yes the program's file is replaced whole, now or at the next restart; only a refused
// schedule is reported.
TEST_F(PlaceFileTest, YesWhoseSecondWriteStillFailsIsReplacedAtRestart) {
    std::string target = InDir("TessikOne商贸版服务器.exe");
    files.AddFile(target, {'o', 'l', 'd'});
    processes.Launch(target, {"TessikOne商贸版服务器"}, {target});
    files.Lock(target, 9999);  // held by something that is not ended
    dialogs.AnswerNext(true);
    EXPECT_EQ(Place(target).placement, Placement::ReplacedAtRestart);
    ASSERT_EQ(dialogs.ShownDialogs().size(), 1u);
    EXPECT_EQ(FileText(target), "old");
    ASSERT_EQ(files.PendingReplacements().size(), 1u);
    files.Restart();
    EXPECT_EQ(FileText(target), "new contents");

    files.Lock(target, 9999);
    files.RefuseRestartReplacement();
    processes.Launch(target, {"TessikOne商贸版服务器"}, {target});
    dialogs.AnswerNext(true);
    const PlaceOutcome refused = Place(target);
    EXPECT_EQ(refused.placement, Placement::Failed);
    EXPECT_EQ(refused.reason, "X002");
    EXPECT_EQ(dialogs.ShownDialogs().back(),
              (MemoryDialogs::Shown{Kind::Error, "文件 TESSIKONE商贸版服务器复制出错(X002)！ "}));
}

// A program of the folder that is not one of the guarded four, running from the very file: the
// installer started it, so it must be able to replace it. The same question; No is reported.
TEST_F(PlaceFileTest, AProgramRunningFromItsOwnFileIsAskedAboutByName) {
    const std::string target = InDir("RuDavovo.exe");
    files.AddFile(target, {'o', 'l', 'd'});
    const std::uint32_t id = processes.Launch(target, {}, {target});  // no window at all
    const std::string question = "程序 RUDAVOVO正在运行，是否强制结束它? ";
    dialogs.AnswerNext(false);
    const PlaceOutcome kept = Place(target);
    EXPECT_EQ(kept.reason, "X002");
    EXPECT_EQ(dialogs.ShownDialogs(),
              (std::vector<MemoryDialogs::Shown>{
                  {Kind::Warning, question}, {Kind::Error, "文件 RUDAVOVO复制出错(X002)！ "}}));
    EXPECT_TRUE(processes.IsRunning(id));
    EXPECT_EQ(FileText(target), "old");

    processes.SetSlowExit(true);  // the file is free only once the ended process is waited for
    dialogs.AnswerNext(true);
    EXPECT_EQ(Place(target).placement, Placement::Written);
    EXPECT_EQ(dialogs.ShownDialogs().back(), (MemoryDialogs::Shown{Kind::Warning, question}));
    EXPECT_EQ(processes.Terminated(), (std::vector<std::uint32_t>{id}));
    EXPECT_EQ(FileText(target), "new contents");

    // One that exits while the user is asked has let go of its file: nothing waits for a restart.
    processes.SetSlowExit(false);
    const std::uint32_t again = processes.Launch(target, {}, {target});
    dialogs.OnShow([&](const MemoryDialogs::Shown&) { (void)processes.Terminate(again); });
    dialogs.AnswerNext(true);
    EXPECT_EQ(Place(target).placement, Placement::Written);
    EXPECT_TRUE(files.PendingReplacements().empty());
}

// A library or data file held by programs: those of the folder are named in one question and
// ended on Yes; one from elsewhere is never ended, and the file waits for the restart.
TEST_F(PlaceFileTest, HoldersInsideTheFolderAreAskedAboutThoseOutsideAreLeftAlone) {
    const std::string target = InDir("TsBase.dll");
    files.AddFile(target, {'o', 'l', 'd'});
    const std::uint32_t main = processes.Launch(InDir("TessikOne商贸版.Exe"), {}, {target});
    const std::uint32_t server = processes.Launch(InDir("scktsrvr.exe"), {}, {target});
    dialogs.AnswerNext(true);
    EXPECT_EQ(Place(target).placement, Placement::Written);
    EXPECT_EQ(dialogs.ShownDialogs(),
              (std::vector<MemoryDialogs::Shown>{
                  {Kind::Warning, "程序 TESSIKONE商贸版、SCKTSRVR正在运行，是否强制结束它? "}}));
    EXPECT_EQ(processes.Terminated(), (std::vector<std::uint32_t>{main, server}));

    const std::uint32_t host = processes.Launch("C:\\Tools\\host.exe", {"host"}, {target});
    const std::uint32_t unnamed = processes.Launch("guard.exe", {}, {target});  // path unknown
    const PlaceOutcome placed = Place(target);
    EXPECT_EQ(placed.placement, Placement::ReplacedAtRestart);
    EXPECT_EQ(placed.holders,
              "outside the folder, left running: host.exe (C:\\Tools\\host.exe), guard.exe (?)");
    EXPECT_EQ(dialogs.ShownDialogs().size(), 1u);  // nothing asked about them
    EXPECT_TRUE(processes.IsRunning(host));
    EXPECT_TRUE(processes.IsRunning(unnamed));
    EXPECT_EQ(processes.Terminated().size(), 2u);
}

// A run without a person answers No (without /CLOSEAPPLICATIONS): every held file, guarded or
// not, then waits for the restart instead of failing; so does one whose program will not end.
TEST_F(PlaceFileTest, WithNoOneToAskHeldFilesAreReplacedAtRestart) {
    session.ReplaceHeldFilesAtRestart = true;
    const std::string server = InDir("scktsrvr.exe"), own = InDir("RuDavovo.exe");
    const std::uint32_t a = processes.Launch(server, {"scktsrvr"}, {server});
    const std::uint32_t b = processes.Launch(own, {}, {own});
    EXPECT_EQ(Place(server).placement, Placement::ReplacedAtRestart);
    EXPECT_EQ(Place(own).placement, Placement::ReplacedAtRestart);
    EXPECT_TRUE(processes.IsRunning(a));
    EXPECT_TRUE(processes.IsRunning(b));

    processes.RefuseTermination(b);
    dialogs.AnswerNext(true);
    EXPECT_EQ(Place(own).placement, Placement::ReplacedAtRestart);
    EXPECT_TRUE(processes.IsRunning(b));
    EXPECT_EQ(files.PendingReplacements().size(), 3u);
    for (const auto& pending : files.PendingReplacements())
        EXPECT_EQ(std::string(pending.bytes.begin(), pending.bytes.end()), "new contents");
}

TEST(FileHolderSplit, InsideMeansBelowTheFolderByWholeComponents) {
    EXPECT_TRUE(IsInsideFolder("c:\\app\\bin\\a.exe", "C:\\App"));
    EXPECT_FALSE(IsInsideFolder("C:\\AppX\\a.exe", "C:\\App"));
    EXPECT_FALSE(IsInsideFolder("C:\\App", "C:\\App"));
    EXPECT_FALSE(IsInsideFolder("", "C:\\App"));
    EXPECT_FALSE(IsInsideFolder("C:\\App\\a.exe", ""));
    EXPECT_EQ(HolderNames({{1, "a.exe", ""}, {2, "A.EXE", ""}, {3, "b.Exe", ""}}), "A、B");
}

TEST(ProgramGuard, RunningMeansAWholeWindowTitleAndKillMatchesTheWholePathOnly) {
    MemoryProcesses processes;
    processes.AddWindow("");
    processes.AddWindow("scktsrvr - notes");
    EXPECT_FALSE(IsProgramRunning(processes, "SCKTSRVR"));
    processes.AddWindow("ScktSrvr");
    EXPECT_TRUE(IsProgramRunning(processes, "SCKTSRVR"));

    std::uint32_t by_path = processes.Launch("c:\\app\\scktsrvr.exe");
    processes.Launch("SCKTSRVR.EXE");  // the platform could not tell its path
    processes.Launch("C:\\other\\scktsrvr.exe");
    processes.Launch("c:\\app\\old_scktsrvr.exe");
    EXPECT_EQ(KillProgram(processes, "C:\\APP\\scktsrvr.exe"),
              (std::vector<std::uint32_t>{by_path}));
    EXPECT_EQ(processes.Snapshot().size(), 3u);
}

}  // namespace
}  // namespace setup
