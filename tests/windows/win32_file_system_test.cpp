// The file system's writes, cleanups, checks and permissions on real files under Wine: a file is
// never under its final name before it is whole, only the write temporaries are cleaned up, a
// replaced file keeps what it was, and a protected folder reads back as the system keeps it.
#include <gtest/gtest.h>

#include <aclapi.h>
#include <sddl.h>
#include <algorithm>

#include "doubles/memory_file_system.h"
#include "platform/win32/handles.h"
#include "platform/win32/win32_file_system.h"
#include "windows/scratch.h"

namespace setup {
namespace {

std::vector<std::string> Names(const std::string& folder, const std::string& pattern = "*") {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    win32::UniqueFind search(FindFirstFileA((folder + "\\" + pattern).c_str(), &found));
    if (search) do {
            const std::string name = found.cFileName;
            if (name != "." && name != "..") names.push_back(name);
        } while (FindNextFileA(search.get(), &found));
    std::sort(names.begin(), names.end());
    return names;
}

void RemoveTree(const std::string& folder) {
    for (const std::string& name : Names(folder)) {
        const std::string path = folder + "\\" + name;
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY)
            RemoveTree(path);
        else
            DeleteFileA(path.c_str());
    }
    RemoveDirectoryA(folder.c_str());
}

std::string Contents(const std::string& path) {
    return testing::ReadWholeFile(path).value_or("<missing>");
}

// The descriptor of a file or folder as SDDL text of its list.
std::string DaclText(const std::string& path) {
    win32::UniqueSecurityDescriptor descriptor;
    if (GetNamedSecurityInfoA(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                              nullptr, nullptr, nullptr, descriptor.receive()) != ERROR_SUCCESS)
        return "<unreadable>";
    char* text = nullptr;
    if (!ConvertSecurityDescriptorToStringSecurityDescriptorA(
            descriptor.get(), SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text, nullptr))
        return "<unconvertible>";
    std::string result = text;
    LocalFree(text);
    return result;
}

bool SetDacl(const std::string& path, const char* sddl) {
    win32::UniqueSecurityDescriptor descriptor;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1,
                                                              descriptor.receive(), nullptr))
        return false;
    PACL dacl = nullptr;
    BOOL present = FALSE, defaulted = FALSE;
    GetSecurityDescriptorDacl(descriptor.get(), &present, &dacl, &defaulted);
    std::string name = path;
    return SetNamedSecurityInfoA(name.data(), SE_FILE_OBJECT,
                                 DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                                 nullptr, nullptr, dacl, nullptr) == ERROR_SUCCESS;
}

class Win32FileSystemTest : public ::testing::Test {
protected:
    Win32FileSystemTest() : dir(testing::ScratchFolder("file-system")) {}
    ~Win32FileSystemTest() override { RemoveTree(dir); }

    Win32FileSystem files;
    std::string dir;
};

// A first installation killed while writing a new file left the part written under the final
// name, and the next run kept it as a protected file.
TEST_F(Win32FileSystemTest, ANewFileHasNoFinalNameBeforeItIsWhole) {
    const std::string target = dir + "\\PrintDB.mdb";
    bool seen_during_write = true;
    std::vector<std::string> temporaries;
    const Result written = files.WriteWholeFile(target, [&](const ByteSink& sink) {
        const std::string half = "first half ";
        sink(Bytes(reinterpret_cast<const std::uint8_t*>(half.data()), half.size()));
        seen_during_write = files.FileExists(target);
        temporaries = Names(dir, std::string(kWriteTempPrefix) + "*");
        const std::string rest = "second half";
        sink(Bytes(reinterpret_cast<const std::uint8_t*>(rest.data()), rest.size()));
    });
    ASSERT_TRUE(written) << written.error;
    EXPECT_FALSE(seen_during_write);
    ASSERT_EQ(temporaries.size(), 1u);
    EXPECT_TRUE(IsWriteLeftover(temporaries[0])) << temporaries[0];
    EXPECT_EQ(Contents(target), "first half second half");
    EXPECT_EQ(Names(dir), std::vector<std::string>{"PrintDB.mdb"});
}

// The copies that wait for a restart beside the file they replace use their own prefix: the
// cleanup must never take one, nor anything else that is not a write temporary.
TEST_F(Win32FileSystemTest, OnlyWriteTemporariesAreRemovedAsLeftovers) {
    for (const char* name : {"~ts1A2B.tmp", "~TSFFFF.TMP", "~tr1A2B.tmp", "~ts1.txt", "a~ts1.tmp"})
        ASSERT_TRUE(testing::TouchFile(dir + "\\" + name));
    SetFileAttributesA((dir + "\\~TSFFFF.TMP").c_str(), FILE_ATTRIBUTE_READONLY);
    CreateDirectoryA((dir + "\\~ts0001.tmp").c_str(), nullptr);

    std::vector<std::string> removed = files.RemoveWriteLeftovers(dir);
    std::sort(removed.begin(), removed.end());
    EXPECT_EQ(removed, (std::vector<std::string>{dir + "\\~TSFFFF.TMP", dir + "\\~ts1A2B.tmp"}));
    EXPECT_EQ(Names(dir),
              (std::vector<std::string>{"a~ts1.tmp", "~tr1A2B.tmp", "~ts0001.tmp", "~ts1.txt"}));
}

// The system's list of what to rename at the next restart, put back as it was when the test
// ends.
class PendingRenamesKept {
public:
    PendingRenamesKept() {
        RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, key_.receive());
        DWORD size = 0;
        existed_ =
            RegQueryValueExW(key_.get(), kValue, nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS;
        saved_.resize(size);
        if (existed_) RegQueryValueExW(key_.get(), kValue, nullptr, nullptr, saved_.data(), &size);
    }
    ~PendingRenamesKept() {
        if (existed_)
            RegSetValueExW(key_.get(), kValue, 0, REG_MULTI_SZ, saved_.data(),
                           static_cast<DWORD>(saved_.size()));
        else
            RegDeleteValueW(key_.get(), kValue);
    }

private:
    static constexpr wchar_t kKey[] = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager";
    static constexpr wchar_t kValue[] = L"PendingFileRenameOperations";
    win32::UniqueKey key_;
    bool existed_ = false;
    std::vector<BYTE> saved_;
};

TEST_F(Win32FileSystemTest, AFileThatWaitsForTheRestartIsNeverRemovedAsALeftover) {
    PendingRenamesKept kept;
    const std::string waiting = dir + "\\~ts7777.tmp", target = dir + "\\server.exe";
    ASSERT_TRUE(testing::TouchFile(waiting));
    ASSERT_TRUE(testing::TouchFile(target));
    ASSERT_TRUE(MoveFileExA(waiting.c_str(), target.c_str(),
                            MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_REPLACE_EXISTING));
    EXPECT_TRUE(files.RemoveWriteLeftovers(dir).empty());
    EXPECT_TRUE(files.FileExists(waiting));
}

// A hidden or read-only file came back plain, with the folder's permissions instead of its own.
// (Wine keeps no descriptors: it shows a file's Unix mode as one. A list that lets everyone
// write is one a new file never gets from it.)
TEST_F(Win32FileSystemTest, AReplacedFileKeepsItsAttributesAndItsOwnPermissions) {
    const std::string shared = dir + "\\shared.ini", hidden = dir + "\\hidden.ini";
    ASSERT_TRUE(testing::TouchFile(shared, "old"));
    ASSERT_TRUE(testing::TouchFile(hidden, "old"));
    ASSERT_TRUE(SetDacl(shared, "D:P(A;;FA;;;WD)"));
    const std::string own = DaclText(shared);
    ASSERT_NE(own, DaclText(hidden));
    ASSERT_TRUE(
        SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));

    const std::string content = "new";
    const auto bytes =
        std::span(reinterpret_cast<const std::uint8_t*>(content.data()), content.size());
    for (const std::string& target : {shared, hidden}) {
        const Result written = files.WriteFileBytes(target, bytes);
        ASSERT_TRUE(written) << target << ": " << written.error;
        EXPECT_EQ(Contents(target), "new");
    }
    EXPECT_EQ(DaclText(shared), own);
    const DWORD attributes = GetFileAttributesA(hidden.c_str());
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(Names(dir), (std::vector<std::string>{"hidden.ini", "shared.ini"}));
}

// The default folder lies outside the program folder, where the parent's permissions let users
// change the programs that start at every logon.
TEST_F(Win32FileSystemTest, AProtectedFolderGrantsOnlyWhatTheProgramFolderGrants) {
    constexpr char kGiven[] = "D:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)";
    const std::string folder = dir + "\\App", plain = dir + "\\Plain";
    ASSERT_TRUE(files.MakeProtectedDirectory(folder));
    ASSERT_TRUE(files.MakeDirectory(plain));
    EXPECT_FALSE(files.MakeProtectedDirectory(folder)) << "an existing folder is not made again";
    EXPECT_FALSE(files.LetsUsersWrite(folder));
    const std::string read_back = DaclText(folder);
    if (read_back.find("BA") != std::string::npos) {
        EXPECT_EQ(read_back, kGiven);
        ASSERT_TRUE(testing::TouchFile(folder + "\\inside.exe"));
        EXPECT_EQ(DaclText(folder + "\\inside.exe"),
                  "D:AI(A;ID;FA;;;BA)(A;ID;FA;;;SY)(A;ID;0x1200a9;;;BU)");
    } else {
        // Wine keeps the descriptor as a Unix mode: none of its entries is for everyone, while
        // a folder made plainly grants everyone reading.
        EXPECT_EQ(read_back.find(";WD)"), std::string::npos) << read_back;
        EXPECT_NE(DaclText(plain).find(";WD)"), std::string::npos) << DaclText(plain);
    }

    ASSERT_TRUE(SetDacl(plain, "D:P(A;OICI;FA;;;BA)(A;OICI;0x1301bf;;;WD)"));
    EXPECT_TRUE(files.LetsUsersWrite(plain)) << DaclText(plain);
}

// The double resolves as the system does, so the native tests of the folder check hold here.
TEST_F(Win32FileSystemTest, FullPathsResolveAsTheDoubleResolvesThem) {
    MemoryFileSystem memory;
    for (const char* path :
         {"C:\\x\\cli_dot.\\App", "C:\\x\\a\\..\\b", "C:\\x\\.\\b\\", "C:\\x\\App. . .",
          "C:\\x\\..\\..\\..", "C:\\x\\a..\\b", "C:\\x\\Tessik软件\\TessikOne"}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(files.FullPath(path), memory.FullPath(path));
    }
    EXPECT_EQ(files.FullPath("C:\\x\\cli_dot.\\App"), "C:\\x\\cli_dot\\App");
}

TEST_F(Win32FileSystemTest, TheVolumeTellsItsClusterAndTheSystemItsFolders) {
    const std::optional<std::uint64_t> cluster = files.ClusterSize(dir);
    ASSERT_TRUE(cluster);
    EXPECT_GE(*cluster, 512u);
    EXPECT_EQ(*cluster & (*cluster - 1), 0u) << *cluster;

    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::vector<std::string> system = files.SystemFolders();
    EXPECT_NE(std::find(system.begin(), system.end(), std::string(windows)), system.end());
    EXPECT_GE(system.size(), 2u);
}

TEST_F(Win32FileSystemTest, AWriteProbeLeavesNothingAndFailsWhereNoFileCanBeMade) {
    EXPECT_TRUE(files.ProbeWrite(dir));
    EXPECT_TRUE(Names(dir).empty());
    EXPECT_FALSE(files.ProbeWrite(dir + "\\missing"));
}

}  // namespace
}  // namespace setup
