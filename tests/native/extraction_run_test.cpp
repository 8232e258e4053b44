#include "install/extraction_run.h"

#include <gtest/gtest.h>

#include "install/exit_code.h"
#include "install/registry_records.h"
#include "platform/error.h"
#include "support/install_fixture.h"

namespace setup {
namespace {

using testing::kHklm;
using Kind = MemoryDialogs::Kind;

class Run : public ::testing::Test, protected testing::InstallFixture {
protected:
    // Entries with their payload; each entry's content is its own path.
    ExtractionRun MakeRun(std::vector<std::string> entries) {
        for (std::size_t i = 0; i < entries.size(); ++i)
            AddPayload(static_cast<int>(i), entries[i]);
        return ExtractionRun(session, std::move(entries));
    }

    // Steps as the timer would, until the run stops asking for more.
    static int RunToEnd(ExtractionRun& run) {
        int steps = 1;
        while (run.Step()) ++steps;
        return steps;
    }

    // After the entries, one step for each post-install task.
    static constexpr int kTaskSteps = 8;

    bool VersionRecorded() const {
        return registry.Value(kHklm, "SOFTWARE\\QRVK2017", "BWQRVK").has_value();
    }
};

TEST_F(Run, EightEntriesShowHalvesRoundedToEvenAndFinishOnce) {
    ExtractionRun run = MakeRun({"1", "2", "3", "4", "5", "6", "7", "8"});
    EXPECT_EQ(RunToEnd(run), 8 + kTaskSteps);
    EXPECT_EQ(window.progress_captions,
              (std::vector<std::string>{"12%", "25%", "38%", "50%", "62%", "75%", "88%", "100%"}));
    EXPECT_EQ(window.fractions.front(), 0.125);
    EXPECT_EQ(window.fractions.back(), 1.0);
    EXPECT_EQ(FileText(InDir("8")), "8");
    EXPECT_EQ(run.FileIndex(), 8);
    EXPECT_TRUE(run.InstallFinished());
    EXPECT_EQ(window.runs_ended, 1);
    EXPECT_FALSE(run.Step());  // a stray tick after the end does nothing
    EXPECT_EQ(window.runs_ended, 1);
}

TEST_F(Run, RoundingOfOtherCounts) {
    EXPECT_EQ(PercentCaption(1.0 / 261), "0%");
    EXPECT_EQ(PercentCaption(0.005), "0%");
    EXPECT_EQ(PercentCaption(0.015), "2%");
    EXPECT_EQ(PercentCaption(2.0 / 3), "67%");
}

TEST_F(Run, FavouritesEntriesAreStepsThatOnlySetTheLastOneAside) {
    ExtractionRun run = MakeRun({"readme.txt", "web\\Tessik软件.url", "old\\Tessik软件.url"});
    EXPECT_EQ(RunToEnd(run), 3 + kTaskSteps);
    EXPECT_EQ(window.progress_captions.size(), 3u);
    EXPECT_EQ(run.FavoritesEntry(), (PayloadEntry{"MyFile0002", "Myres0002",
                                                  "C:\\users\\me\\Favorites\\Tessik软件.url"}));
    EXPECT_FALSE(files.DirectoryExists(InDir("web")));
    EXPECT_FALSE(files.DirectoryExists(InDir("old")));
    EXPECT_EQ(window.copy_captions.size(), 1u);

    run.AddToFavorites();
    EXPECT_EQ(FileText("C:\\users\\me\\Favorites\\Tessik软件.url"), "old\\Tessik软件.url");
}

TEST_F(Run, WithoutAFavouritesEntryAddingToFavouritesWritesNothing) {
    ExtractionRun run = MakeRun({"tessik软件.URL"});  // the test is case-sensitive
    RunToEnd(run);
    EXPECT_EQ(run.FavoritesEntry(), PayloadEntry{});
    std::size_t written = files.WrittenFiles().size();
    run.AddToFavorites();
    EXPECT_EQ(files.WrittenFiles().size(), written);
}

// Every entry that is not installed is counted with its reason: a missing or damaged resource,
// a target that would leave the folder, a write that failed after its message. The run goes on,
// records what it installed (so installing again repairs) and ends as incomplete.
TEST_F(Run, FailedEntriesAreCountedWithTheirReasonAndTheRunEndsIncomplete) {
    ExtractionRun run =
        MakeRun({"a.txt", "lost.txt", "..\\escape.txt", "damaged.txt", "locked.dll", "c.txt"});
    resources = MemoryResources();
    AddPayload(0, "a");
    AddPayload(2, "escape");
    std::vector<std::uint8_t> damaged = testing::Frame("damaged");
    damaged[6] ^= 0x55;
    resources.SetResource(PayloadResourceType(3), PayloadResourceName(3), damaged);
    AddPayload(4, "locked");
    files.Refuse(InDir("locked.dll"));
    AddPayload(5, "c");
    EXPECT_EQ(RunToEnd(run), 6 + kTaskSteps);
    EXPECT_FALSE(files.FileExists(InDir("lost.txt")));
    EXPECT_FALSE(files.FileExists("D:\\Tessik软件\\escape.txt"));
    EXPECT_EQ(FileText(InDir("c.txt")), "c");
    ASSERT_EQ(run.Failures().size(), 4u);
    EXPECT_EQ(run.Failures()[0], (EntryFailure{"lost.txt", "Resource MyFile0001 not found", 0}));
    EXPECT_EQ(run.Failures()[1].entry, "..\\escape.txt");
    EXPECT_EQ(run.Failures()[2].entry, "damaged.txt");
    EXPECT_EQ(run.Failures()[3], (EntryFailure{"locked.dll", "X001", kErrorAccessDenied}));
    EXPECT_EQ(run.InstalledCount(), 2);
    EXPECT_EQ(session.InstalledBytes, 2u);  // "a" and "c": what the uninstall entry's size counts
    EXPECT_TRUE(run.InstallFinished());
    EXPECT_EQ(run.Outcome(), RunOutcome::Incomplete);
    EXPECT_EQ(ExitCodeFor(run.Summary()), ExitCode::Incomplete);
    EXPECT_TRUE(VersionRecorded());
    EXPECT_EQ(window.runs_ended, 1);
}

TEST_F(Run, WhenNoFileCouldBeWrittenNothingIsRecordedLinkedOrStarted) {
    files.AddFile(InDir("scktsrvr.exe"));  // an old installation's server is still there
    ExtractionRun run = MakeRun({"a.txt", "b.txt"});
    files.Refuse(InDir("a.txt"));
    files.Refuse(InDir("b.txt"));
    RunToEnd(run);
    EXPECT_EQ(run.Failures().size(), 2u);
    EXPECT_EQ(run.Outcome(), RunOutcome::Incomplete);
    EXPECT_FALSE(VersionRecorded());
    EXPECT_TRUE(shell.Links().empty());
    EXPECT_TRUE(shell.Starts().empty());
    EXPECT_FALSE(registry.HasKey(kHklm, std::string(kUninstallKeyBase) + "Tessik软件"));
    EXPECT_EQ(window.runs_ended, 1);
}

TEST_F(Run, TheExitCodeSaysHowTheRunStands) {
    ExtractionRun run = MakeRun({"a.txt", "b.txt"});
    EXPECT_EQ(ExitCodeFor(run.Summary()), ExitCode::Cancelled);  // closed before copying
    EXPECT_TRUE(run.Step());
    EXPECT_EQ(ExitCodeFor(run.Summary()), ExitCode::Cancelled);  // closed while copying
    EXPECT_TRUE(run.Step());
    EXPECT_EQ(run.Outcome(), RunOutcome::Running);  // every file in place, the records to come
    RunToEnd(run);
    EXPECT_EQ(run.Outcome(), RunOutcome::Complete);
    EXPECT_EQ(ExitCodeFor(run.Summary()), ExitCode::Success);
}

// Deployment tools read these numbers without any per-product setting: they must not move.
TEST(ExitCodes, EveryOutcomeGetsItsCodeInTheWindowsInstallerConvention) {
    auto code = [](RunSummary summary) { return static_cast<int>(ExitCodeFor(summary)); };
    EXPECT_EQ(code({RunOutcome::Complete}), 0);
    EXPECT_EQ(code({RunOutcome::Complete, 2}), 3010);
    EXPECT_EQ(code({RunOutcome::Complete, 2, 1}), 1603);  // a task failed: not a success
    EXPECT_EQ(code({RunOutcome::Incomplete}), 1603);
    EXPECT_EQ(code({RunOutcome::Incomplete, 0, 0, true}), 112);
    EXPECT_EQ(code({RunOutcome::Cancelled}), 1602);
    EXPECT_EQ(code({RunOutcome::Running}), 1602);  // closed before the end
    EXPECT_EQ(static_cast<int>(ExitCode::AlreadyRunning), 1618);
    EXPECT_EQ(static_cast<int>(ExitCode::BadCommandLine), 1639);
    EXPECT_EQ(static_cast<int>(ExitCode::Damaged), 1620);
    EXPECT_EQ(static_cast<int>(ExitCode::FolderRefused), 267);
    EXPECT_EQ(static_cast<int>(WithLogStatus(ExitCode::Success, true)), 1622);
}

TEST_F(Run, AFullDiskIsToldApartFromOtherFailures) {
    files.SetFreeSpace('D', 3);
    ExtractionRun run = MakeRun({"a.txt", "big.txt"});
    RunToEnd(run);
    EXPECT_EQ(ExitCodeFor(run.Summary()), ExitCode::DiskFull);
}

TEST_F(Run, WithoutMachineKeysTheMessagesComeInTaskOrderAndThePageIsReached) {
    registry.Refuse(kHklm, {.open = true, .create = true, .write = true});
    files.AddFile(InDir("scktsrvr.exe"));
    struct Seen {
        std::string text;
        std::size_t links, starts;
    };
    std::vector<Seen> seen;
    dialogs.OnShow([&](const MemoryDialogs::Shown& shown) {
        seen.push_back({shown.text, shell.Links().size(), shell.Starts().size()});
    });
    ExtractionRun run = MakeRun({"a.txt"});
    RunToEnd(run);
    std::string text = "Tessik软件 在安装过程中写入注册表失败！";
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].text, text + "0x004");
    EXPECT_EQ(seen[1].text, text + "0x005");
    EXPECT_EQ(seen[1].links, 0u);
    EXPECT_EQ(seen[2].text, text + "0x003");
    EXPECT_EQ(seen[2].links, 4u);   // desktop server link and the program group came first
    EXPECT_EQ(seen[2].starts, 2u);  // and the autostart task's two starts
    EXPECT_EQ(shell.Starts().size(), 3u);
    EXPECT_TRUE(run.InstallFinished());
}

TEST_F(Run, UntickedOptionsSkipTheirTasksAndKeepTheMainProgram) {
    window.options = {false, false, false};
    files.AddDirectory(testing::kAppData +
                       std::string("\\Microsoft\\Internet Explorer\\Quick Launch"));
    registry.SetRawValue(kHklm, kRunKey, "Tessik软件", 1, "old");
    ExtractionRun run = MakeRun({"TessikOne商贸免费版.exe"});
    RunToEnd(run);
    ASSERT_EQ(shell.Links().size(), 3u);  // the program group only
    EXPECT_EQ(shell.Links()[0].properties.target, InDir("TessikOne商贸版.Exe"));
    EXPECT_FALSE(registry.Value(kHklm, kRunKey, "Tessik软件"));
    EXPECT_TRUE(shell.Starts().empty());
}

TEST_F(Run, AnEmptyPayloadCompletesAtOnce) {
    ExtractionRun run = MakeRun({});
    EXPECT_EQ(RunToEnd(run), kTaskSteps);
    EXPECT_EQ(window.progress_captions, std::vector<std::string>{"100%"});
    EXPECT_TRUE(run.InstallFinished());
    EXPECT_EQ(window.runs_ended, 1);
    EXPECT_TRUE(VersionRecorded());
}

TEST_F(Run, CancellingStopsTheRunBeforeAnyPostInstallTask) {
    ExtractionRun run = MakeRun({"a.txt", "b.txt"});
    EXPECT_TRUE(run.Step());
    EXPECT_TRUE(run.Cancel());
    EXPECT_FALSE(run.Step());
    EXPECT_FALSE(files.FileExists(InDir("b.txt")));
    EXPECT_FALSE(VersionRecorded());
    EXPECT_FALSE(run.InstallFinished());
    EXPECT_EQ(window.runs_ended, 0);
}

TEST_F(Run, AnErrorOfAPostInstallTaskPassesToTheWindowAndEndsTheRun) {
    registry.SetRawValue(testing::kHkcu,
                         "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                         "Programs", 4, "1");
    ExtractionRun run = MakeRun({"a.txt"});
    EXPECT_THROW(RunToEnd(run), RuntimeError);
    EXPECT_FALSE(run.InstallFinished());
    EXPECT_FALSE(run.RecordsUnderway());
    EXPECT_EQ(run.Outcome(), RunOutcome::Incomplete);
    EXPECT_EQ(window.runs_ended, 0);
    EXPECT_FALSE(run.Step());
    EXPECT_FALSE(registry.HasKey(kHklm, std::string(kUninstallKeyBase) + "Tessik软件"));
    // Cancel on page 3 now leads to the failure form, and the outcome stays what it was.
    EXPECT_TRUE(run.Cancel());
    EXPECT_EQ(run.Outcome(), RunOutcome::Incomplete);
}

// The tasks take a step each, so no tick holds them all; from the first one on, a cancel is
// refused and they are written whole.
TEST_F(Run, PostInstallTasksTakeAStepEachAndACancelCannotCutThemShort) {
    ExtractionRun run = MakeRun({"a.txt"});
    EXPECT_TRUE(run.Step());  // the entry
    EXPECT_FALSE(run.RecordsUnderway());
    EXPECT_TRUE(run.Step());  // the version record, and nothing more
    EXPECT_TRUE(VersionRecorded());
    EXPECT_TRUE(shell.Links().empty());
    EXPECT_TRUE(run.RecordsUnderway());
    EXPECT_FALSE(run.Cancel());
    EXPECT_EQ(RunToEnd(run), kTaskSteps - 1);
    EXPECT_FALSE(run.RecordsUnderway());
    EXPECT_EQ(run.Outcome(), RunOutcome::Complete);
    EXPECT_TRUE(registry.HasKey(kHklm, std::string(kUninstallKeyBase) + "Tessik软件"));
    EXPECT_EQ(window.runs_ended, 1);
}

}  // namespace
}  // namespace setup
