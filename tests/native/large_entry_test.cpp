// A large entry written on a thread of its own over several steps of the run, as the wizard has
// it: the same bytes as a write in one step, a cancel between its steps that leaves nothing behind,
// and a failed write that leads to the same questions, asked on the run's own thread.
#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>

#include "install/extraction_run.h"
#include "support/install_fixture.h"

namespace setup {
namespace {

using Kind = MemoryDialogs::Kind;

// Hands an entry on in small chunks and holds its write after the first chunk until the test lets
// it go, or for at most half a second: the write is then underway across steps of the run.
class GatedContents final : public EntryContents {
public:
    explicit GatedContents(EntryContents& inner) : inner_(inner) {}

    bool Unpack(std::string_view type, std::string_view name, const ByteSink& sink) override {
        bool first = true;
        return inner_.Unpack(type, name, [&](Bytes chunk) {
            for (std::size_t at = 0; at < chunk.size(); at += kChunk) {
                if (!sink(chunk.subspan(at, std::min(kChunk, chunk.size() - at)))) return false;
                if (std::exchange(first, false)) Hold();
            }
            return true;
        });
    }
    bool Holds(std::string_view type, std::string_view name) const override {
        return inner_.Holds(type, name);
    }

    void WaitHeld() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return held_; });
    }
    void Open() {
        {
            std::lock_guard lock(mutex_);
            open_ = true;
        }
        changed_.notify_all();
    }

private:
    static constexpr std::size_t kChunk = 64u << 10;
    void Hold() {
        std::unique_lock lock(mutex_);
        held_ = true;
        changed_.notify_all();
        changed_.wait_for(lock, std::chrono::milliseconds(500), [&] { return open_; });
    }

    EntryContents& inner_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool held_ = false, open_ = false;
};

std::string Large() {
    std::string bytes(3u << 20, '\0');
    std::uint32_t x = 12345;
    for (char& c : bytes) c = static_cast<char>((x = x * 1103515245u + 12345u) >> 24);
    return bytes;
}

class LargeEntry : public ::testing::Test, protected testing::InstallFixture {
protected:
    LargeEntry() {
        AddPayload(0, "small one");
        AddPayload(1, large);
        AddPayload(2, "small two");
        session.contents = &gated;
        run.WriteLargeEntriesAside({9, large.size(), 9}, 1.0);
    }

    // Steps until the large entry (the second) is placed; how many steps it took.
    int StepPastTheLargeEntry() {
        int steps = 0;
        while (run.FileIndex() < 2 && steps < 10000) {
            EXPECT_TRUE(run.Step());
            ++steps;
        }
        return steps;
    }
    std::vector<std::string> FolderNames() const { return files.FileNamesIn(session.InstallDir); }

    const std::string large = Large();
    GatedContents gated{contents};
    ExtractionRun run{session, {"a.txt", "big.dat", "b.txt"}};
};

TEST_F(LargeEntry, IsPlacedOverSeveralStepsByteForByteWithItsNameShownMeanwhile) {
    ASSERT_TRUE(run.Step());
    ASSERT_TRUE(run.Step());  // the write begins and is held
    gated.WaitHeld();
    EXPECT_TRUE(run.Step());
    EXPECT_EQ(run.FileIndex(), 1);
    EXPECT_EQ(window.copy_captions.back(), "正在复制文件：" + InDir("big.dat"));
    EXPECT_EQ(window.long_copies, 1);
    EXPECT_EQ(window.fractions.size(), 1u);  // the progress moves once the entry is placed
    const std::vector<std::string> underway = FolderNames();
    ASSERT_EQ(underway.size(), 2u);  // no file under its name yet, only the temporary
    EXPECT_EQ(underway[0], "A.TXT");
    EXPECT_TRUE(IsWriteLeftover(underway[1]));

    gated.Open();
    StepPastTheLargeEntry();
    EXPECT_EQ(FileText(InDir("big.dat")), large);
    while (run.Step()) {
    }
    EXPECT_EQ(run.Outcome(), RunOutcome::Complete);
    EXPECT_EQ(window.fractions.front(), 1.0 / 3);
    EXPECT_TRUE(std::is_sorted(window.fractions.begin(), window.fractions.end()));
    EXPECT_EQ(window.fractions.back(), 1.0);
    EXPECT_EQ(FileText(InDir("b.txt")), "small two");
    EXPECT_EQ(session.InstalledBytes, large.size() + 18);
}

TEST_F(LargeEntry, ACancelBetweenItsStepsLeavesNeitherTheFileNorItsTemporary) {
    ASSERT_TRUE(run.Step());
    ASSERT_TRUE(run.Step());
    gated.WaitHeld();
    EXPECT_TRUE(run.Cancel());
    EXPECT_EQ(FolderNames(), std::vector<std::string>{"A.TXT"});
    EXPECT_FALSE(run.Step());
    EXPECT_EQ(run.Outcome(), RunOutcome::Cancelled);
    EXPECT_EQ(run.FileIndex(), 1);
    EXPECT_EQ(FolderNames(), std::vector<std::string>{"A.TXT"});
}

// The write fails only at its end (a full disk part way, a held file at the move); what follows is
// decided as for any entry: the questions, the second write, the replacement at restart, all on
// the run's own thread.
TEST_F(LargeEntry, AFailedWriteGoesThroughThePlacementsDecisionsOnTheRunsThread) {
    gated.Open();
    const std::thread::id runs_thread = std::this_thread::get_id();
    std::vector<bool> asked_here;
    dialogs.OnShow([&](const MemoryDialogs::Shown&) {
        asked_here.push_back(std::this_thread::get_id() == runs_thread);
    });
    const std::string target = InDir("big.dat");
    files.AddFile(target, {'o', 'l', 'd'});
    const std::uint32_t holder = processes.Launch(InDir("TessikOne商贸版.Exe"), {}, {target});
    dialogs.AnswerNext(true);
    ASSERT_TRUE(run.Step());
    StepPastTheLargeEntry();
    EXPECT_EQ(processes.Terminated(), std::vector<std::uint32_t>{holder});
    EXPECT_EQ(FileText(target), large);

    // Held from outside the folder: nothing asked, the new file waits for the restart.
    ExtractionRun again{session, {"a.txt", "big.dat"}};
    again.WriteLargeEntriesAside({9, large.size()}, 1.0);
    const std::uint32_t outside = processes.Launch("C:\\Tools\\host.exe", {"host"}, {target});
    while (again.Step()) {
    }
    EXPECT_EQ(again.ReplacedAtRestartCount(), 1);
    ASSERT_EQ(files.PendingReplacements().size(), 1u);
    EXPECT_EQ(files.PendingReplacements()[0].bytes.size(), large.size());

    // A disk that fills part way: X001, the old file whole, no temporary left.
    ExtractionRun full{session, {"a.txt", "big.dat"}};
    full.WriteLargeEntriesAside({9, large.size()}, 1.0);
    ASSERT_TRUE(static_cast<bool>(processes.Terminate(outside)));
    files.Restart();
    files.SetFreeSpace('D', 1u << 20);
    while (full.Step()) {
    }
    ASSERT_EQ(full.Failures().size(), 1u);
    EXPECT_EQ(full.Failures()[0].reason, "X001");
    EXPECT_EQ(full.Failures()[0].system_error, kErrorDiskFull);
    EXPECT_EQ(dialogs.ShownDialogs().back(),
              (MemoryDialogs::Shown{Kind::Error, "文件 BIG.DAT复制出错(X001)！ "}));
    EXPECT_EQ(FileText(target), large);
    EXPECT_EQ(FolderNames(), (std::vector<std::string>{"A.TXT", "BIG.DAT"}));
    EXPECT_EQ(asked_here, (std::vector<bool>{true, true}));
}

}  // namespace
}  // namespace setup
