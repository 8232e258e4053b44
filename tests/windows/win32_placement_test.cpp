// Placing files on the real file system: a file is replaced whole or not at all and no temporary
// file is left behind; a run counts every entry it could not install; protection goes by a
// file's own name.
#include <gtest/gtest.h>

#include "install/extraction_run.h"
#include "install/place_file.h"
#include "platform/error.h"
#include "platform/win32/handles.h"
#include "windows/real_install_session.h"
#include "windows/scratch.h"

namespace setup {
namespace {

class Win32Placement : public ::testing::Test, protected testing::RealInstallSession {
protected:
    Win32Placement() {
        dir = testing::ScratchFolder("placement");
        UseDir(dir);
        resources.SetResource(PayloadResourceType(0), PayloadResourceName(0),
                              testing::Frame("new contents"));
    }
    ~Win32Placement() override { RemoveTree(dir); }

    void UseDir(const std::string& folder) {
        session.InstallDir = folder;
        session.MainExePath = folder + "\\main.exe";
    }

    PlaceOutcome Place(const std::string& target, int index = 0) {
        return PlaceFile(session, PayloadResourceName(index), PayloadResourceType(index), target);
    }

    std::string Contents(const std::string& path) const {
        return testing::ReadWholeFile(path).value_or("<missing>");
    }

    // Whatever the placement may have left in the folder besides the file itself.
    static std::vector<std::string> Leftovers(const std::string& folder) {
        std::vector<std::string> names;
        WIN32_FIND_DATAA found;
        win32::UniqueFind search(FindFirstFileA((folder + "\\~ts*.tmp").c_str(), &found));
        if (search) do
                names.push_back(found.cFileName);
            while (FindNextFileA(search.get(), &found));
        return names;
    }

    static void RemoveTree(const std::string& folder) {
        WIN32_FIND_DATAA found;
        win32::UniqueFind search(FindFirstFileA((folder + "\\*").c_str(), &found));
        if (search) do {
                const std::string name = found.cFileName;
                if (name == "." || name == "..") continue;
                const std::string path = folder + "\\" + name;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(path);
                else
                    DeleteFileA(path.c_str());
            } while (FindNextFileA(search.get(), &found));
        search.reset();
        RemoveDirectoryA(folder.c_str());
    }

    std::string dir;
};

TEST_F(Win32Placement, AWrittenFileReplacesTheOldOneWholeAndLeavesNothingElse) {
    const std::string target = dir + "\\a.dll";
    ASSERT_TRUE(testing::TouchFile(target, "old"));
    EXPECT_EQ(Place(target).placement, Placement::Written);
    EXPECT_EQ(Contents(target), "new contents");
    EXPECT_TRUE(Leftovers(dir).empty());
}

// The file is held open without sharing, as a program holds its own files: the write fails,
// the user is told, and the file keeps every byte it had.
TEST_F(Win32Placement, AFailedWriteLeavesTheOldFileExactlyAsItWasAndNoTemporaryFile) {
    const std::string target = dir + "\\held.dll";
    ASSERT_TRUE(testing::TouchFile(target, "old"));
    {
        win32::UniqueHandle held(
            CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        const PlaceOutcome placed = Place(target);
        EXPECT_EQ(placed.placement, Placement::Failed);
        EXPECT_EQ(placed.reason, "X001");
        EXPECT_NE(placed.system_error, 0u);
    }
    EXPECT_EQ(Contents(target), "old");
    EXPECT_TRUE(Leftovers(dir).empty());
    EXPECT_EQ(dialogs.ShownDialogs().size(), 1u);
}

TEST_F(Win32Placement, ADamagedEntryLeavesTheOldFileAndNoTemporaryFile) {
    std::vector<std::uint8_t> damaged = testing::Frame(std::string(100000, 'z'));
    damaged[damaged.size() / 2] ^= 0xFF;
    resources.SetResource(PayloadResourceType(1), PayloadResourceName(1), damaged);
    const std::string target = dir + "\\big.dat";
    ASSERT_TRUE(testing::TouchFile(target, "old"));
    EXPECT_THROW((void)Place(target, 1), RuntimeError);
    EXPECT_EQ(Contents(target), "old");
    EXPECT_TRUE(Leftovers(dir).empty());
}

// A run over the real disk: a damaged entry, an entry that would leave the folder and a held file
// are each counted with their reason; the others are installed and the run ends incomplete.
TEST_F(Win32Placement, ARunCountsEveryEntryItCouldNotInstall) {
    std::vector<std::uint8_t> damaged = testing::Frame("damaged");
    damaged[7] ^= 0x55;
    resources.SetResource(PayloadResourceType(1), PayloadResourceName(1), damaged);
    for (int i : {2, 3, 4})
        resources.SetResource(PayloadResourceType(i), PayloadResourceName(i), testing::Frame("x"));
    ASSERT_TRUE(testing::TouchFile(dir + "\\held.txt", "old"));
    win32::UniqueHandle held(CreateFileA((dir + "\\held.txt").c_str(), GENERIC_READ, 0, nullptr,
                                         OPEN_EXISTING, 0, nullptr));
    // The post-install records go to doubles: this test is about the files.
    MemoryRegistry records;
    MemoryShell links{files};
    InstallSession on_disk{
        strings, {files, records, links, processes, dialogs, resources}, &window, &contents};
    on_disk.InstallDir = dir;
    ExtractionRun run(on_disk, {"data\\ok.txt", "bad.txt", "..\\escape.txt", "held.txt", "c.txt"});
    while (run.Step()) {
    }
    EXPECT_EQ(Contents(dir + "\\data\\ok.txt"), "new contents");
    EXPECT_EQ(Contents(dir + "\\c.txt"), "x");
    EXPECT_EQ(Contents(dir + "\\bad.txt"), "<missing>");
    ASSERT_EQ(run.Failures().size(), 3u);
    EXPECT_EQ(run.Failures()[0].entry, "bad.txt");
    EXPECT_EQ(run.Failures()[1].entry, "..\\escape.txt");
    EXPECT_EQ(run.Failures()[2].entry, "held.txt");
    EXPECT_EQ(run.Failures()[2].reason, "X001");
    EXPECT_EQ(run.Outcome(), RunOutcome::Incomplete);
    EXPECT_TRUE(Leftovers(dir).empty());
    held.reset();
    EXPECT_EQ(Contents(dir + "\\held.txt"), "old");
}

TEST_F(Win32Placement, AFolderNamedLikeAProtectedFileProtectsNothing) {
    const std::string folder = dir + "\\CONFIG.INI";
    CreateDirectoryA(folder.c_str(), nullptr);
    UseDir(folder);
    ASSERT_TRUE(testing::TouchFile(folder + "\\readme.txt", "old"));
    ASSERT_TRUE(testing::TouchFile(folder + "\\CONFIG.INI", "user's settings"));
    EXPECT_EQ(Place(folder + "\\readme.txt").placement, Placement::Written);
    EXPECT_EQ(Place(folder + "\\CONFIG.INI").placement, Placement::Kept);
    EXPECT_EQ(Contents(folder + "\\readme.txt"), "new contents");
    EXPECT_EQ(Contents(folder + "\\CONFIG.INI"), "user's settings");
}

}  // namespace
}  // namespace setup
