// The installation as the program drives it, over the in-memory platform: entries read ahead on
// a second thread, the post-install tasks after them, and what a cancel may still stop.
#include "install/installation.h"

#include <gtest/gtest.h>

#include "install/registry_records.h"
#include "support/install_fixture.h"

namespace setup {
namespace {

using testing::kHklm;

class InstallationTest : public ::testing::Test, protected testing::InstallFixture {
protected:
    // The shipped settings and these entries, each holding its own path but the large one.
    void AddEntries(const std::vector<std::string>& entries) {
        for (unsigned i = 0; i < testing::kShippedSettings.size(); ++i)
            resources.SetString(kFirstSettingId + i, std::string(testing::kShippedSettings[i]));
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const int index = static_cast<int>(i);
            resources.SetString(kFirstFileListId + index, entries[i]);
            AddPayload(index, entries[i] == "big.dat" ? kLarge : entries[i]);
        }
    }

    // Starts copying into the fixture's folder, with this test watching.
    void Begin(Installation& installation) {
        installation.SetObserver(&window);
        installation.SetPaths({session.InstallDir, session.MainExePath, session.UninstallerPath});
        installation.Start();
    }

    bool VersionRecorded() const {
        return registry.Value(kHklm, "SOFTWARE\\QRVK2017", "BWQRVK").has_value();
    }

    const std::string kLarge = std::string(3u << 20, 'L');
};

// Entries come whole through the second thread, a large one among small ones included, and the
// favourites link is still written at the finish, after that thread is gone.
TEST_F(InstallationTest, EntriesReadAheadArriveWholeAndTheFinishStillReadsItsEntry) {
    AddEntries({"a.txt", "big.dat", "data\\b.txt", "Tessik软件.url"});
    Installation installation(session.platform);
    ASSERT_TRUE(installation.Settings().Parsed()) << installation.Settings().Problem();
    Begin(installation);
    while (installation.Step()) {
    }
    EXPECT_EQ(FileText(InDir("a.txt")), "a.txt");
    EXPECT_EQ(FileText(InDir("big.dat")), kLarge);
    EXPECT_EQ(FileText(InDir("data\\b.txt")), "data\\b.txt");
    EXPECT_EQ(window.long_copies, 1);
    EXPECT_EQ(installation.Outcome(), RunOutcome::Complete);

    installation.AddToFavorites();
    EXPECT_EQ(FileText(std::string(testing::kFavorites) + "\\Tessik软件.url"), "Tessik软件.url");
}

TEST_F(InstallationTest, ACancelStopsTheCopyingButNotTheRecordsOnceTheyHaveBegun) {
    AddEntries({"a.txt", "b.txt"});
    Installation stopped(session.platform);
    EXPECT_FALSE(stopped.Step());  // not started: nothing happens
    Begin(stopped);
    EXPECT_TRUE(stopped.Step());
    EXPECT_TRUE(stopped.Cancel());
    EXPECT_FALSE(stopped.Step());
    EXPECT_FALSE(files.FileExists(InDir("b.txt")));
    EXPECT_FALSE(VersionRecorded());
    EXPECT_EQ(stopped.Outcome(), RunOutcome::Cancelled);

    Installation finished(session.platform);
    Begin(finished);
    EXPECT_TRUE(finished.Step());
    EXPECT_TRUE(finished.Step());  // the last entry
    EXPECT_FALSE(finished.RecordsUnderway());
    EXPECT_TRUE(finished.Step());  // the first post-install task
    EXPECT_TRUE(finished.RecordsUnderway());
    EXPECT_FALSE(finished.Cancel());
    while (finished.Step()) {
    }
    EXPECT_EQ(FileText(InDir("b.txt")), "b.txt");
    EXPECT_TRUE(registry.HasKey(kHklm, std::string(kUninstallKeyBase) + "Tessik软件"));
    EXPECT_EQ(finished.Outcome(), RunOutcome::Complete);
}

// A table that does not parse is damage, found before anything is shown; and an installation
// started all the same writes nothing: no empty names in the records, no files.
TEST_F(InstallationTest, SettingsThatDoNotParseAreDamageAndNothingIsWritten) {
    AddEntries({"a.txt", "b.txt"});
    resources.SetString(1008, "PrBBackRect=766,101,x,19");
    Installation installation(session.platform);
    EXPECT_EQ(installation.FindDamage(), "setting 1008: 'x' is not a valid integer value");
    EXPECT_EQ(installation.Settings().error_id, 1008u);
    Begin(installation);
    EXPECT_FALSE(installation.Started());
    EXPECT_FALSE(installation.Step());
    installation.RunToEnd();
    EXPECT_EQ(installation.Outcome(), RunOutcome::Cancelled);
    EXPECT_TRUE(files.WrittenFiles().empty());
    EXPECT_TRUE(registry.Flushed().empty());
    const std::string uninstall(kUninstallKeyBase);
    EXPECT_FALSE(registry.Value(kHklm, uninstall.substr(0, uninstall.size() - 1), "DisplayName"));
    EXPECT_FALSE(registry.Value(kHklm, kRunKey, ""));
    EXPECT_TRUE(shell.Starts().empty());
}

}  // namespace
}  // namespace setup
