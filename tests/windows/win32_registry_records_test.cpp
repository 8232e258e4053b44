// The registry records against the real registry: 32-bit view, case-insensitive key paths, GBK
// values, and the previous path read back.
#include <gtest/gtest.h>

#include "install/registry_records.h"
#include "platform/error.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell.h"
#include "support/install_fixture.h"
#include "windows/real_install_session.h"
#include "windows/scratch.h"

namespace setup {
namespace {

using testing::Pid;

// A value as another program sees it, through the raw API, in the given view.
std::optional<std::string> RawValue(const std::string& path, const std::string& name,
                                    REGSAM view = KEY_WOW64_32KEY) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS)
        return std::nullopt;
    char data[1024] = {};
    DWORD type = 0, size = sizeof data - 1;
    LONG status =
        RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_SZ) return std::nullopt;
    return std::string(data);
}

std::optional<DWORD> RawNumber(const std::string& path, const std::string& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | KEY_WOW64_32KEY, &key) !=
        ERROR_SUCCESS)
        return std::nullopt;
    DWORD data = 0, size = sizeof data, type = 0;
    const LONG status =
        RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_DWORD) return std::nullopt;
    return data;
}

class Win32RegistryRecords : public ::testing::Test, protected testing::RealInstallSession {
protected:
    Win32RegistryRecords() {
        strings.Company = "SetupTest" + Pid();
        strings.SoftSysName = "测试软件" + Pid();
        strings.SoftYear = "T" + Pid();
        strings.SoftVersion = "6.0.2";
        session.InstallDir = "C:\\setup-tests\\软件 " + Pid();
        session.MainExePath = session.InstallDir + "\\main.exe";
        session.UninstallerPath = session.InstallDir + "\\uninstall.exe";
    }

    ~Win32RegistryRecords() override {
        RegDeleteKeyExA(HKEY_LOCAL_MACHINE, ProductKey(strings).c_str(), KEY_WOW64_32KEY, 0);
        RegDeleteKeyExA(HKEY_LOCAL_MACHINE, UninstallKey().c_str(), KEY_WOW64_32KEY, 0);
        HKEY run = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, &run) ==
            ERROR_SUCCESS) {
            RegDeleteValueA(run, strings.Company.c_str());
            RegCloseKey(run);
        }
    }

    std::string UninstallKey() const { return kUninstallKeyBase + strings.Company; }
};

TEST_F(Win32RegistryRecords, RecordsLandInThe32BitViewAndTheNextRunReadsThemBack) {
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    // The default lies on D: where that is a fixed disk, else on the system's drive.
    const char drive = GetDriveTypeA("D:\\") == DRIVE_FIXED ? 'D' : system[0];
    EXPECT_EQ(ReadPreviousPath(session),
              std::string(1, drive) + ":\\" + strings.Company + "\\" + strings.SoftSysName);
    EXPECT_EQ(session.BrowseDrive, std::string(1, system[0]));

    WriteVersionRecord(session);
    WriteSetupPath(session);
    WriteUninstallEntry(session);
    EXPECT_TRUE(dialogs.ShownDialogs().empty());

    // Other spellings of the same key paths find the records.
    std::string product = "software\\qrvkt" + Pid();
    EXPECT_EQ(RawValue(product, "BWQRVK"), "6.0.2");
    EXPECT_EQ(RawValue(product, "setuppath"), session.InstallDir);
    EXPECT_FALSE(RawValue(product, "BWQRVK", KEY_WOW64_64KEY)) << "written outside the 32-bit view";
    std::string uninstall =
        "Software\\MICROSOFT\\windows\\CurrentVersion\\Uninstall\\" + strings.Company;
    EXPECT_EQ(RawValue(uninstall, "DisplayName"), strings.SoftSysName);
    EXPECT_EQ(RawValue(uninstall, "UninstallString"),
              "\"" + session.InstallDir + "\\uninstall.exe\" UninstalMe");

    EXPECT_EQ(ReadPreviousPath(session), session.InstallDir);
    EXPECT_EQ(session.BrowseDrive, "C");
}

// What Programs and Features, winget and inventory tools read, in the 32-bit view.
TEST_F(Win32RegistryRecords, TheUninstallEntryCarriesWhatProgramsAndFeaturesShows) {
    session.InstalledBytes = 5 * 1024 * 1024 + 1;
    WriteUninstallEntry(session);
    EXPECT_TRUE(dialogs.ShownDialogs().empty());
    const std::string key = UninstallKey();
    EXPECT_EQ(RawValue(key, "DisplayVersion"), "6.0.2");
    EXPECT_EQ(RawValue(key, "Publisher"), strings.Company);
    EXPECT_EQ(RawValue(key, "InstallLocation"), session.InstallDir);
    EXPECT_EQ(RawValue(key, "DisplayIcon"), session.MainExePath);
    EXPECT_EQ(RawNumber(key, "EstimatedSize"), 5u * 1024 + 1);
    SYSTEMTIME now;
    GetLocalTime(&now);
    char today[16];
    std::snprintf(today, sizeof today, "%04u%02u%02u", now.wYear, now.wMonth, now.wDay);
    EXPECT_EQ(RawValue(key, "InstallDate"), today);
    EXPECT_EQ(RawValue(key, "URLInfoAbout"), "http://www.tessik.com.cn/");
    EXPECT_EQ(RawNumber(key, "NoModify"), 1u);
    EXPECT_EQ(RawNumber(key, "NoRepair"), 1u);
}

TEST_F(Win32RegistryRecords, TheAutostartValueGoesToThePlatformsRunKeyAndIsRemovedAgain) {
    ASSERT_TRUE(registry.KeyExists(RegistryRoot::LocalMachine, kRunKey));
    WriteRunValue(session, "C:\\setup-tests\\scktsrvr.exe");
    std::string run = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    EXPECT_EQ(RawValue(run, strings.Company), "C:\\setup-tests\\scktsrvr.exe");
    DisableAutostart(session);
    EXPECT_FALSE(RawValue(run, strings.Company));
    EXPECT_TRUE(dialogs.ShownDialogs().empty());
}

TEST_F(Win32RegistryRecords, KeysReadStringsAsStoredAndRefuseOtherTypes) {
    auto key = registry.OpenKey(RegistryRoot::LocalMachine, ProductKey(strings), true);
    ASSERT_TRUE(key);
    HKEY raw = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, ProductKey(strings).c_str(), 0,
                            KEY_ALL_ACCESS | KEY_WOW64_32KEY, &raw),
              ERROR_SUCCESS);
    const char expand[] = "%SystemRoot%\\x\0tail";
    RegSetValueExA(raw, "Expand", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(expand),
                   sizeof expand);
    DWORD number = 7;
    RegSetValueExA(raw, "Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                   sizeof number);
    RegCloseKey(raw);

    EXPECT_EQ(key->ReadString("expand"), "%SystemRoot%\\x");
    EXPECT_THROW(key->ReadString("Number"), RuntimeError);
    EXPECT_EQ(key->ReadString("Missing"), "");
    EXPECT_TRUE(key->ValueExists("NUMBER"));
    EXPECT_TRUE(key->DeleteValue("number"));
    EXPECT_FALSE(key->ValueExists("Number"));
    key->Close(true);
    EXPECT_EQ(key->ReadString("Expand"), "") << "a closed key reads nothing";

    EXPECT_FALSE(
        registry.OpenKey(RegistryRoot::LocalMachine, ProductKey(strings) + "\\none", false));
    EXPECT_FALSE(registry.KeyExists(RegistryRoot::LocalMachine, ProductKey(strings) + "\\none"));
}

}  // namespace
}  // namespace setup
