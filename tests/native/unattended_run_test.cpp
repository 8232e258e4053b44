// The unattended run over the in-memory platform: the folder checked as page 2 checks it, the
// options of /TASKS, the answers of a run without a person, the exit code and the log.
#include "app/unattended_run.h"

#include <gtest/gtest.h>

#include "install/folder_check.h"
#include "install/logging_platform.h"
#include "support/checksums.h"
#include "support/install_fixture.h"

namespace setup::app {
namespace {

using setup::testing::kHklm;

class UnattendedRun : public ::testing::Test, protected setup::testing::InstallFixture {
protected:
    UnattendedRun() {
        for (unsigned i = 0; i < setup::testing::kShippedSettings.size(); ++i)
            resources.SetString(kFirstSettingId + i,
                                std::string(setup::testing::kShippedSettings[i]));
        const char* entries[] = {"TessikOne商贸版.Exe", "scktsrvr.exe", "data*PrintDB.mdb"};
        for (int i = 0; i < 3; ++i) {
            resources.SetString(kFirstFileListId + i, entries[i]);
            AddPayload(i, std::string("content ") + entries[i]);
        }
        setup::testing::AddChecksums(resources, 3);
    }

    ExitCode Run(const std::string& arguments) {
        CommandLineParse parse = ParseCommandLine(arguments);
        EXPECT_FALSE(parse.Refused()) << parse.problem;
        LoggingPlatform logging(
            {files, registry, shell, processes, answers_for(parse.line), resources}, log);
        Installation installation(logging.Platform());
        QuietObserver quiet(UnattendedOptions(parse.line));
        LoggingObserver logged(log, quiet);
        installation.SetObserver(&logged);
        const ExitCode code = RunUnattended(installation, parse.line, &log);
        log.WriteSummary(static_cast<int>(code), "");
        return code;
    }

    Dialogs& answers_for(const CommandLine& line) {
        answers.emplace(line.close_applications);
        return *answers;
    }

    bool Logged(std::string_view part) const {
        for (const std::string& line : lines)
            if (line.find(part) != std::string::npos) return true;
        return false;
    }

    std::vector<std::string> lines;
    double now = 0;
    InstallLog log{[this](std::string_view line) {
                       lines.emplace_back(line);
                       return true;
                   },
                   [this] { return now += 0.25; },
                   [](std::uint32_t code) { return "reason " + std::to_string(code); }};
    std::optional<UnattendedDialogs> answers;
};

TEST_F(UnattendedRun, InstallsIntoTheFolderGivenWithOnlyTheListedTasks) {
    EXPECT_EQ(Run("/S /TASKS=\"desktop\" /D=D:\\Shop POS"), ExitCode::Success);
    EXPECT_EQ(FileText("D:\\Shop POS\\data\\PrintDB.mdb"), "content data*PrintDB.mdb");
    EXPECT_EQ(registry.Value(kHklm, "SOFTWARE\\QRVK2017", "SETUPPATH"), "D:\\Shop POS");
    for (const auto& link : shell.Links())
        EXPECT_EQ(link.path.find("Quick Launch"), std::string::npos) << link.path;
    // No autostart task: only the server that is installed is started, by the servers' task.
    ASSERT_EQ(shell.Starts().size(), 1u);
    EXPECT_EQ(shell.Starts()[0].file, "D:\\Shop POS\\scktsrvr.exe");
    EXPECT_TRUE(Logged("folder: D:\\Shop POS"));
    EXPECT_TRUE(Logged("file written: D:\\Shop POS\\scktsrvr.exe (20 bytes)"));
    EXPECT_TRUE(
        Logged("registry value written: HKLM\\SOFTWARE\\QRVK2017\\SETUPPATH = D:\\Shop POS"));
    EXPECT_TRUE(Logged("link written: C:\\users\\me\\Desktop\\TessikOne软件商贸版.lnk"));
    EXPECT_NE(lines.back().find("summary: 3 files written"), std::string::npos) << lines.back();
    EXPECT_EQ(lines.front().substr(0, 11), "[   0.250] ");
}

TEST_F(UnattendedRun, WithoutAFolderSwitchItUsesWhatPage2WouldShow) {
    registry.SetRawValue(kHklm, "SOFTWARE\\QRVK2017", "SETUPPATH", 1, "D:\\Old Place");
    EXPECT_EQ(Run("/VERYSILENT"), ExitCode::Success);
    EXPECT_TRUE(files.FileExists("D:\\Old Place\\scktsrvr.exe"));
}

TEST_F(UnattendedRun, ARefusedFolderEndsWithItsCodeAndItsReasonAndWritesNothing) {
    EXPECT_EQ(Run("/S /D=C:\\A?B"), ExitCode::FolderRefused);
    EXPECT_TRUE(files.WrittenFiles().empty());
    EXPECT_TRUE(files.CreatedDirectories().empty());
    EXPECT_TRUE(Logged("folder refused: C:\\A?B: 路径中不能包含下任何字符之一："));
    files.SetFreeSpace('D', 10);
    EXPECT_EQ(Run("/S /D=D:\\full"), ExitCode::DiskFull);
    EXPECT_TRUE(Logged("磁盘空间不足"));
}

TEST_F(UnattendedRun, AFolderThatTakesNoFilesIsRefusedBeforeTheFirstFile) {
    files.AddDirectory("D:\\Locked");
    files.RefuseFilesIn("D:\\Locked");
    EXPECT_EQ(Run("/S /D=D:\\Locked"), ExitCode::FolderRefused);
    EXPECT_TRUE(files.WrittenFiles().empty());
    EXPECT_TRUE(Logged(std::string("folder refused: D:\\Locked: ") + kHintCannotWrite));
}

// SETUPPATH held "C:\cli_dot.\App" while the files were in "C:\cli_dot\App".
TEST_F(UnattendedRun, TheFolderIsRecordedAsTheSystemResolvesIt) {
    EXPECT_EQ(Run("/S /D=D:\\cli_dot.\\Sub\\..\\App"), ExitCode::Success);
    EXPECT_EQ(registry.Value(kHklm, "SOFTWARE\\QRVK2017", "SETUPPATH"), "D:\\cli_dot\\App");
    EXPECT_TRUE(files.FileExists("D:\\cli_dot\\App\\data\\PrintDB.mdb"));
    EXPECT_FALSE(files.DirectoryExists("D:\\cli_dot\\Sub"));
    EXPECT_TRUE(Logged("folder: D:\\cli_dot\\App"));
}

// A new folder is made writable for administrators only; one that exists keeps its permissions,
// and the log warns when they let users change the programs.
TEST_F(UnattendedRun, ANewFolderIsProtectedAndAnOpenOneIsKeptWithAWarning) {
    EXPECT_EQ(Run("/S /D=D:\\New"), ExitCode::Success);
    // The folders made inside it inherit its descriptor.
    EXPECT_EQ(files.ProtectedDirectories(), std::vector<std::string>{"D:\\New"});
    EXPECT_TRUE(Logged("folder created, writable by administrators only: D:\\New"));
    EXPECT_FALSE(Logged("warning: ordinary users"));

    files.AddDirectory("D:\\Shared");
    files.OpenToUsers("D:\\Shared");
    EXPECT_EQ(Run("/S /D=D:\\Shared"), ExitCode::Success);
    EXPECT_TRUE(Logged("warning: ordinary users may change the files in D:\\Shared"));
}

// A killed run leaves its write temporaries; the next one removes exactly those, and never a
// file that only looks alike (the copies that wait for a restart use another prefix).
TEST_F(UnattendedRun, WhatAKilledRunLeftOfItsWritesIsRemovedAndNothingElse) {
    files.AddFile("D:\\Shop\\~ts1A2B.tmp", {1, 2, 3});
    files.AddFile("D:\\Shop\\data\\~TSFFFF.TMP");
    files.AddFile("D:\\Shop\\data\\~tr1A2B.tmp");
    files.AddFile("D:\\Shop\\~ts.tmp");
    files.AddFile("D:\\Shop\\~ts1.txt");
    files.AddFile("D:\\Other\\~ts1A2B.tmp");
    EXPECT_EQ(Run("/S /D=D:\\Shop"), ExitCode::Success);
    EXPECT_FALSE(files.FileExists("D:\\Shop\\~ts1A2B.tmp"));
    EXPECT_FALSE(files.FileExists("D:\\Shop\\data\\~TSFFFF.TMP"));
    for (const char* kept : {"D:\\Shop\\data\\~tr1A2B.tmp", "D:\\Shop\\~ts.tmp",
                             "D:\\Shop\\~ts1.txt", "D:\\Other\\~ts1A2B.tmp"})
        EXPECT_TRUE(files.FileExists(kept)) << kept;
    // (The double keeps file names upper-cased.)
    EXPECT_TRUE(Logged("left by an earlier run, removed: D:\\Shop\\~TS1A2B.TMP"));
    EXPECT_TRUE(Logged("left by an earlier run, removed: D:\\Shop\\data\\~TSFFFF.TMP"));
}

// Without /CLOSEAPPLICATIONS the answer to "end it?" is No: the program runs on, its file is
// replaced at the next restart, and the exit code says a restart is needed.
TEST_F(UnattendedRun, ARunningProgramIsEndedOnlyWhenTheLineSaysSo) {
    files.AddDirectory("D:\\Shop");
    const std::string target = "D:\\Shop\\scktsrvr.exe";
    std::uint32_t id = processes.Launch(target, {"scktsrvr"}, {target});
    EXPECT_EQ(Run("/S /D=D:\\Shop"), ExitCode::RestartNeeded);
    EXPECT_TRUE(processes.IsRunning(id));
    EXPECT_TRUE(Logged("question: 程序 SCKTSRVR正在运行，是否强制结束它?  -> No"));
    EXPECT_TRUE(Logged("file replaced at restart: D:\\Shop\\scktsrvr.exe"));
    ASSERT_EQ(files.PendingReplacements().size(), 1u);
    EXPECT_EQ(files.PendingReplacements()[0].path, target);

    EXPECT_EQ(Run("/S /CLOSEAPPLICATIONS /D=D:\\Shop"), ExitCode::Success);
    EXPECT_FALSE(processes.IsRunning(id));
    EXPECT_EQ(FileText(target), "content scktsrvr.exe");
}

}  // namespace
}  // namespace setup::app
