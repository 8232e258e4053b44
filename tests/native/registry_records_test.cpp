#include "install/registry_records.h"

#include <gtest/gtest.h>

#include "support/install_fixture.h"

namespace setup {
namespace {

using testing::kHklm;
using Start = MemoryShell::Start;

constexpr char kUninstallKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tessik软件";

class RegistryRecords : public ::testing::Test, protected testing::InstallFixture {
protected:
    std::optional<std::string> RunValue() const {
        return registry.Value(kHklm, kRunKey, "Tessik软件");
    }

    Start Started(const std::string& path) const {
        return {window.handle, "open", path, "False", "", 1};
    }

    std::string Folder() const { return session.InstallDir + "\\"; }
};

TEST_F(RegistryRecords, VersionPathAndUninstallEntryLandWhereTheyBelong) {
    WriteVersionRecord(session);
    WriteSetupPath(session);
    WriteUninstallEntry(session);
    EXPECT_EQ(registry.Value(kHklm, "SOFTWARE\\QRVK2017", "BWQRVK"), "6.0.2");
    EXPECT_EQ(registry.Value(kHklm, "SOFTWARE\\QRVK2017", "SETUPPATH"), testing::kInstallDir);
    EXPECT_EQ(registry.Value(kHklm, kUninstallKey, "DisplayName"), "TessikOne软件商贸版");
    EXPECT_EQ(registry.Value(kHklm, kUninstallKey, "UninstallString"),
              std::string(testing::kInstallDir) + "\\uninstall.exe UninstalMe");
    EXPECT_EQ(registry.Flushed(), (std::vector<std::string>{"SOFTWARE\\QRVK2017",
                                                            "SOFTWARE\\QRVK2017", kUninstallKey}));
    EXPECT_TRUE(dialogs.ShownDialogs().empty());

    strings.SoftYear.clear();
    EXPECT_EQ(ProductKey(strings), "SOFTWARE\\QRVK");
}

TEST_F(RegistryRecords, TheUninstallEntryCarriesWhatProgramsAndFeaturesShows) {
    session.InstalledBytes = 2049;  // three KB begun
    WriteUninstallEntry(session);
    EXPECT_EQ(registry.Value(kHklm, kUninstallKey, "DisplayVersion"), "6.0.2");
    EXPECT_EQ(registry.Value(kHklm, kUninstallKey, "Publisher"), "Tessik软件");
    EXPECT_EQ(registry.Value(kHklm, kUninstallKey, "InstallLocation"), testing::kInstallDir);
    EXPECT_EQ(registry.Value(kHklm, kUninstallKey, "DisplayIcon"), session.MainExePath);
    EXPECT_EQ(registry.Number(kHklm, kUninstallKey, "EstimatedSize"), 3u);
    EXPECT_EQ(registry.Value(kHklm, kUninstallKey, "InstallDate"), "20261209");
    EXPECT_EQ(registry.Value(kHklm, kUninstallKey, "URLInfoAbout"), "http://www.tessik.com.cn/");
    EXPECT_EQ(registry.Number(kHklm, kUninstallKey, "NoModify"), 1u);
    EXPECT_EQ(registry.Number(kHklm, kUninstallKey, "NoRepair"), 1u);
}

TEST_F(RegistryRecords, CommandLinesQuoteAPathWithABlank) {
    UseInstallDir("C:\\Program Files\\POS");
    files.AddFile(InDir("scktsrvr.exe"));
    WriteUninstallEntry(session);
    EnableAutostart(session);
    EXPECT_EQ(registry.Value(kHklm, kUninstallKey, "UninstallString"),
              "\"C:\\Program Files\\POS\\uninstall.exe\" UninstalMe");
    EXPECT_EQ(RunValue(), "\"C:\\Program Files\\POS\\scktsrvr.exe\"");
    // The shell gets the program itself, never a quoted name.
    EXPECT_EQ(shell.Starts().back(), Started("C:\\Program Files\\POS\\scktsrvr.exe"));
}

TEST_F(RegistryRecords, TickedAutostartEndsWithTheLastPresentServer) {
    files.AddFile(InDir("scktsrvr.exe"));
    EnableAutostart(session);
    RegisterServers(session);
    EXPECT_EQ(RunValue(), InDir("scktsrvr.exe"));
    EXPECT_EQ(shell.Starts(),
              (std::vector<Start>{Started(InDir("TessikOne商贸版服务器.exe")),
                                  Started(InDir("scktsrvr.exe")), Started(InDir("scktsrvr.exe"))}));

    files.AddFile(InDir("RuDavovo.exe"));
    RegisterServers(session);
    EXPECT_EQ(RunValue(), InDir("RuDavovo.exe"));
    EXPECT_EQ(shell.Starts().back(), Started(InDir("RuDavovo.exe")));
}

TEST_F(RegistryRecords, UntickedAutostartRemovesTheValueThatServersWriteAgain) {
    registry.SetRawValue(kHklm, kRunKey, "TESSIK软件", 1, "old");
    DisableAutostart(session);
    RegisterServers(session);
    EXPECT_FALSE(RunValue());
    EXPECT_TRUE(shell.Starts().empty());

    files.AddFile(InDir("scktsrvr.exe"));
    DisableAutostart(session);
    RegisterServers(session);
    EXPECT_EQ(RunValue(), InDir("scktsrvr.exe"));
    EXPECT_EQ(shell.Starts(), std::vector<Start>{Started(InDir("scktsrvr.exe"))});
    EXPECT_TRUE(dialogs.ShownDialogs().empty());
}

TEST_F(RegistryRecords, ARefusedRunValueIsReportedOncePerWrite) {
    registry.Refuse(kHklm, {.write = true});
    EnableAutostart(session);
    EXPECT_EQ(dialogs.Texts(MemoryDialogs::Kind::Error),
              std::vector<std::string>(3, "Tessik软件 在安装过程中写入注册表失败！0x001"));
    EXPECT_EQ(shell.Starts().size(), 2u);
}

TEST_F(RegistryRecords, WithoutARunKeyNothingIsWrittenOrSaid) {
    MemoryRegistry empty;
    InstallSession bare{
        strings, {files, empty, shell, processes, dialogs, resources}, &window, &contents};
    bare.MainExePath = session.MainExePath;
    files.AddFile(InDir("scktsrvr.exe"));
    EnableAutostart(bare);
    RegisterServers(bare);
    EXPECT_FALSE(empty.HasKey(kHklm, kRunKey));
    EXPECT_TRUE(dialogs.ShownDialogs().empty());
    EXPECT_EQ(shell.Starts().size(), 3u);
}

TEST_F(RegistryRecords, PreviousPathIsTheRecordedOneElseTheDefaultOnDriveD) {
    shell.SetSystemDirectory("E:\\WINNT\\system32");
    EXPECT_EQ(ReadPreviousPath(session), "D:\\Tessik软件\\TessikOne软件商贸版");
    EXPECT_EQ(session.BrowseDrive, "E");

    registry.SetRawValue(kHklm, "software\\qrvk2017", "SetupPath", 1, "");
    EXPECT_EQ(ReadPreviousPath(session), "D:\\Tessik软件\\TessikOne软件商贸版");

    registry.SetRawValue(kHklm, "software\\qrvk2017", "SetupPath", 4, "1234");
    EXPECT_EQ(ReadPreviousPath(session), "D:\\Tessik软件\\TessikOne软件商贸版");

    // Expandable strings are returned as stored, up to the first NUL.
    registry.SetRawValue(kHklm, "software\\qrvk2017", "SetupPath", 2,
                         std::string("F:\\%APP%\0junk", 13));
    EXPECT_EQ(ReadPreviousPath(session), "F:\\%APP%");
    EXPECT_EQ(session.BrowseDrive, "F");

    session.InstallDir = "G:\\软件";
    WriteSetupPath(session);
    EXPECT_EQ(ReadPreviousPath(session), "G:\\软件");
    EXPECT_EQ(session.BrowseDrive, "G");
}

// A default on a drive that is not there, or is a card reader, could never be created.
TEST_F(RegistryRecords, WithoutAFixedDriveDTheDefaultGoesToTheSystemDrive) {
    shell.SetSystemDirectory("C:\\WINDOWS\\system32");
    files.SetRemovable('D');
    EXPECT_EQ(ReadPreviousPath(session), "C:\\Tessik软件\\TessikOne软件商贸版");
    EXPECT_EQ(session.BrowseDrive, "C");

    MemoryFileSystem no_d;
    InstallSession bare{
        strings, {no_d, registry, shell, processes, dialogs, resources}, &window, &contents};
    EXPECT_EQ(ReadPreviousPath(bare), "C:\\Tessik软件\\TessikOne软件商贸版");
}

TEST_F(RegistryRecords, PreviousPathIgnoresAKeyThatCannotBeOpenedWithFullAccess) {
    registry.SetRawValue(kHklm, "SOFTWARE\\QRVK2017", "SETUPPATH", 1, "G:\\old");
    registry.Refuse(kHklm, {.open = true});
    EXPECT_EQ(ReadPreviousPath(session), "D:\\Tessik软件\\TessikOne软件商贸版");
    EXPECT_TRUE(dialogs.ShownDialogs().empty());
}

}  // namespace
}  // namespace setup
