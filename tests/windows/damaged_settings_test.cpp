// A real installer whose settings table does not parse, run as a deployment tool runs it: it is
// refused as damaged (its exit code) and writes nothing, neither files nor registry values. The copy
// lies in a folder with a blank and is started by an unquoted command line, as a launcher that
// gives CreateProcess the program alone does: its own path is not read as a switch.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "install/exit_code.h"
#include "scratch.h"

namespace setup {
namespace {

std::string Utf16(const std::string& ascii) {
    std::string out;
    for (char c : ascii) out.append({c, '\0'});
    return out;
}

// The demo installer with one rectangle of its string table made unreadable, in place (the
// checksums cover the framed resources, not the table, so only the settings are wrong).
bool WriteBrokenCopy(const std::string& from, const std::string& to) {
    std::ifstream in(from, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string good = Utf16("PrBBackRect=766,101,30,19");
    const std::size_t at = bytes.find(good);
    if (at == std::string::npos) return false;
    bytes.replace(at, good.size(), Utf16("PrBBackRect=766,101,3x,19"));
    std::ofstream out(to, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return out.good();
}

DWORD RunAndWait(std::string command_line) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return 1000 + GetLastError();
    DWORD code = 999;
    if (WaitForSingleObject(process.hProcess, 120000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    else
        TerminateProcess(process.hProcess, 998);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

// A value's data, or nothing when the key or the value is missing; the 32-bit view.
std::optional<std::string> ValueData(const char* key, const char* name) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ | KEY_WOW64_32KEY, &opened) !=
        ERROR_SUCCESS)
        return std::nullopt;
    char data[1024] = {};
    DWORD size = sizeof data - 1;
    const bool found = RegQueryValueExA(opened, name, nullptr, nullptr,
                                        reinterpret_cast<BYTE*>(data), &size) == ERROR_SUCCESS;
    RegCloseKey(opened);
    if (!found) return std::nullopt;
    return std::string(data);
}

bool HasValue(const char* key, const char* name) {
    return ValueData(key, name).has_value();
}

bool HasKey(const char* key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ | KEY_WOW64_32KEY, &opened) !=
        ERROR_SUCCESS)
        return false;
    RegCloseKey(opened);
    return true;
}

TEST(DamagedSettings, AnInstallerWhoseSettingsDoNotParseIsRefusedAndWritesNothing) {
    const std::string folder = testing::ScratchFolder("bad settings");
    const std::string installer = folder + "\\TessikSetup.exe";
    ASSERT_TRUE(WriteBrokenCopy(testing::FromBuildTree(DEMO_INSTALLER), installer));
    const std::string target = folder + "\\target";
    const std::string log = folder + "\\setup.log";
    constexpr char kUninstall[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
    constexpr char kRun[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
    ASSERT_FALSE(HasValue(kUninstall, "DisplayName"));  // the machine is clean before
    // The session's setup may have made the Run key, with an empty default value.
    const std::optional<std::string> run_default = ValueData(kRun, "");

    EXPECT_EQ(RunAndWait(installer + " /VERYSILENT /LOG=\"" + log + "\" /D=" + target),
              static_cast<DWORD>(ExitCode::Damaged));
    EXPECT_EQ(GetFileAttributesA(target.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(HasValue(kUninstall, "DisplayName"));
    EXPECT_FALSE(HasValue(kUninstall, "UninstallString"));
    EXPECT_EQ(ValueData(kRun, ""), run_default);
    EXPECT_FALSE(HasKey("SOFTWARE\\QRVK"));  // the product's key, without its unread year

    std::ifstream written(log, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(written)),
                           std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("setting 1008: '3x' is not a valid integer value"), std::string::npos)
        << text;
}

}  // namespace
}  // namespace setup
