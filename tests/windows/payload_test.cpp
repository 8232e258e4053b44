// The demo installer as setup-pack wrote it into the installer program, read back through the
// real Win32 layer (FindResourceA, LoadStringA): every setting and every file-list line, every
// entry unpacking to exactly the bytes of its staged source, the skin and the licence in the
// form the window expects, the checksums; and the stand-in programs of the payload record every
// start, also when several start at once.
#include <windows.h>

#include <gtest/gtest.h>

#include <numeric>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "data/file_list.h"
#include "data/payload_check.h"
#include "data/unpack.h"
#include "platform/win32/handles.h"
#include "platform/win32/win32_resources.h"

namespace setup {
namespace {

using win32::UniqueHandle;

// The build machine's folders, seen through Wine's Z: drive.
std::string WinePath(std::string unix_path) {
    std::replace(unix_path.begin(), unix_path.end(), '/', '\\');
    return "Z:" + unix_path;
}

std::optional<std::string> ReadAll(const std::string& path) {
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return std::nullopt;
    std::string bytes(GetFileSize(file.get(), nullptr), '\0');
    DWORD read = 0;
    if (!bytes.empty() &&
        !ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        return std::nullopt;
    bytes.resize(read);
    return bytes;
}

std::string Utf8ToAnsi(const std::string& utf8) {
    std::wstring wide(utf8.size(), L'\0');
    wide.resize(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                    wide.data(), static_cast<int>(wide.size())));
    std::string ansi(wide.size() * 2, '\0');
    ansi.resize(WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                    ansi.data(), static_cast<int>(ansi.size()), nullptr, nullptr));
    return ansi;
}

// Non-blank lines of the order file, in the system code page like the list read from resources.
std::vector<std::string> OrderFileLines() {
    std::optional<std::string> text = ReadAll(WinePath(DEMO_ORDER_FILE));
    EXPECT_TRUE(text) << DEMO_ORDER_FILE;
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (text && start < text->size()) {
        std::size_t end = std::min(text->find('\n', start), text->size());
        std::string line = text->substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.find_first_not_of(" \t") != std::string::npos) lines.push_back(Utf8ToAnsi(line));
        start = end + 1;
    }
    return lines;
}

// The built installer, loaded for its resources.
HMODULE Installer() {
    static HMODULE module =
        LoadLibraryExA(WinePath(DEMO_INSTALLER).c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    return module;
}

std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

// Every setting as the demo's settings file has it, in the string table setup-pack wrote.
TEST(DemoPayload, SettingsReadBackThroughLoadString) {
    ASSERT_TRUE(Installer()) << DEMO_INSTALLER;
    Win32Resources resources(Installer());
    EXPECT_EQ(resources.LoadLine(1001), "FrmTop1BackRect=2,10,510,63");
    EXPECT_EQ(resources.LoadLine(1012), "Company=Tessik软件");
    EXPECT_EQ(resources.LoadLine(1023), "SoftForFreeExeName=TessikOne商贸免费版.exe");
    char buffer[512] = {};
    EXPECT_GT(LoadStringA(Installer(), 1013, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "SoftSysName=TessikOne软件商贸版");
    EXPECT_TRUE(FindResourceA(Installer(), "mainsum", "myres3"));
}

TEST(DemoPayload, FileListFollowsTheOrderFile) {
    ASSERT_TRUE(Installer()) << DEMO_INSTALLER;
    std::vector<std::string> list = LoadFileList(Win32Resources(Installer()));
    EXPECT_EQ(list, OrderFileLines());
    EXPECT_NE(std::find(list.begin(), list.end(), "RepCenter\\销售单.rpt"), list.end());
}

TEST(DemoPayload, EveryEntryUnpacksToTheBytesOfItsStagedFile) {
    Win32Resources resources(Installer());
    std::vector<std::string> list = LoadFileList(resources);
    ASSERT_GT(list.size(), 20u);
    const std::string staged = WinePath(DEMO_PAYLOAD_DIR) + "\\";
    std::vector<std::string> programs;
    for (std::size_t i = 0; i < list.size(); ++i) {
        std::vector<std::uint8_t> unpacked =
            UnpackNamedResource(resources, PayloadResourceType(i), PayloadResourceName(i));
        std::optional<std::string> source = ReadAll(staged + list[i]);
        ASSERT_TRUE(source) << list[i];
        EXPECT_TRUE(std::string(unpacked.begin(), unpacked.end()) == *source)
            << list[i] << ": " << unpacked.size() << " bytes unpacked, " << source->size()
            << " in the file";
        if (source->compare(0, 2, "MZ") == 0) programs.push_back(list[i]);
    }
    // The five programs are the stand-in, a real Windows program (the DLL-like file starts so too).
    EXPECT_EQ(programs, (std::vector<std::string>{"TessikOne商贸版.Exe",
                                                  "TessikOne商贸版服务器.exe", "scktsrvr.exe",
                                                  "RuDavovo.exe", "uninstall.exe", "TsBase.dll"}));
}

TEST(DemoPayload, SkinIsA1025By757TwentyFourBitBitmap) {
    std::vector<std::uint8_t> bmp =
        UnpackNamedResource(Win32Resources(Installer()), kSkinResourceType, kSkinResourceName);
    ASSERT_GE(bmp.size(), 54u);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(Le32(bmp, 2), bmp.size());
    EXPECT_EQ(Le32(bmp, 14), 40u);
    EXPECT_EQ(Le32(bmp, 18), 1025u);
    EXPECT_EQ(Le32(bmp, 22), 757u);
    EXPECT_EQ(bmp[28] | bmp[29] << 8, 24);
    EXPECT_EQ(Le32(bmp, 30), 0u);
    // Rows of 1025 pixels padded to 3076 bytes, after the two headers.
    EXPECT_EQ(bmp.size(), 54u + 3076u * 757u);
}

TEST(DemoPayload, LicenceIsGbkTextWithCrLfLineEndsAndNoNul) {
    std::vector<std::uint8_t> bytes =
        UnpackNamedResource(Win32Resources(Installer()), kLicenceResourceType, kLicenceResourceName);
    const std::string text(bytes.begin(), bytes.end());
    ASSERT_GT(text.size(), 2u);
    EXPECT_EQ(text.find('\0'), std::string::npos);
    EXPECT_EQ(TextUpToNul(bytes), text);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1))
        ASSERT_TRUE(at > 0 && text[at - 1] == '\r') << "bare LF at byte " << at;
    EXPECT_NE(text.find("许可协议"), std::string::npos);
}

// --- The installer's check of itself -----------------------------------------------------------

// Reading through the file finds the very bytes the mapped image holds, for every resource.
TEST(PayloadCheck, ResourcesReadThroughTheFileAreTheMappedBytesAndAllMatchTheirSums) {
    Win32Resources resources(Installer());
    const int count = static_cast<int>(LoadFileList(resources).size());
    for (int i = 0; i < count; ++i) {
        std::optional<Bytes> mapped =
            resources.Find(PayloadResourceType(i), PayloadResourceName(i));
        ASSERT_TRUE(mapped);
        std::vector<std::uint8_t> read;
        ASSERT_TRUE(
            resources.ReadThrough(PayloadResourceType(i), PayloadResourceName(i), [&](Bytes chunk) {
                read.insert(read.end(), chunk.begin(), chunk.end());
                return true;
            }));
        EXPECT_TRUE(std::equal(read.begin(), read.end(), mapped->begin(), mapped->end()))
            << PayloadResourceName(i);
    }
    EXPECT_EQ(FindDamagedResource(resources, count), std::nullopt);
    const std::vector<std::uint64_t> sizes = UnpackedEntrySizes(resources, count);
    EXPECT_GT(std::accumulate(sizes.begin(), sizes.end(), std::uint64_t{0}), 100000u);
}

// A copy of the installer with four bytes of one entry's compressed data flipped: the check finds
// that entry, reading the copy's file.
TEST(PayloadCheck, AFlippedEntryInACopyOfTheProgramIsFound) {
    Win32Resources own(Installer());
    const int count = static_cast<int>(LoadFileList(own).size());
    std::optional<std::string> image = ReadAll(WinePath(DEMO_INSTALLER));
    ASSERT_TRUE(image);
    // An entry whose bytes occur once in the file (identical small files frame identically).
    int damaged = -1;
    std::size_t at = std::string::npos;
    for (int i = 0; i < count && damaged < 0; ++i) {
        std::optional<Bytes> entry = own.Find(PayloadResourceType(i), PayloadResourceName(i));
        if (!entry || entry->size() < 64) continue;
        const std::string bytes(entry->begin(), entry->end());
        at = image->find(bytes);
        if (at != std::string::npos && image->find(bytes, at + 1) == std::string::npos) damaged = i;
    }
    ASSERT_GE(damaged, 0);
    for (int i = 0; i < 4; ++i) (*image)[at + 10 + i] ^= 0x5A;
    CreateDirectoryA("C:\\setup-tests", nullptr);
    const std::string copy =
        "C:\\setup-tests\\damaged-" + std::to_string(GetCurrentProcessId()) + ".exe";
    {
        UniqueHandle file(
            CreateFileA(copy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(file.get(), image->data(), static_cast<DWORD>(image->size()),
                              &written, nullptr));
    }
    HMODULE module = LoadLibraryExA(copy.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    ASSERT_TRUE(module);
    EXPECT_EQ(FindDamagedResource(Win32Resources(module), count), PayloadResourceName(damaged));
    FreeLibrary(module);
    DeleteFileA(copy.c_str());
}

// --- The stand-in programs ---------------------------------------------------------------------

constexpr char kScratch[] = "C:\\setup-tests\\payload_tests";

struct Started {
    PROCESS_INFORMATION info{};
    ~Started() {
        if (info.hProcess) {
            if (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT)
                TerminateProcess(info.hProcess, 1);
            CloseHandle(info.hProcess);
            CloseHandle(info.hThread);
        }
    }
};

struct WindowSearch {
    DWORD process;
    HWND found;
};

BOOL CALLBACK FindProcessWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char title[256] = "";
    GetWindowTextA(window, title, sizeof title);
    if (owner != search->process || !title[0] || !IsWindowVisible(window)) return TRUE;
    search->found = window;
    return FALSE;
}

HWND WaitForWindow(DWORD process) {
    for (int i = 0; i < 200; ++i) {
        WindowSearch search{process, nullptr};
        EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        Sleep(50);
    }
    return nullptr;
}

std::string Title(HWND window) {
    char title[256] = "";
    GetWindowTextA(window, title, sizeof title);
    return title;
}

TEST(StandIn, RecordsEveryConcurrentStartAndEndsWhenItsWindowCloses) {
    CreateDirectoryA("C:\\setup-tests", nullptr);
    CreateDirectoryA(kScratch, nullptr);
    const std::string folder = std::string(kScratch) + "\\";
    const std::string log = folder + "started.log";
    DeleteFileA(log.c_str());
    const std::string staged = WinePath(DEMO_PAYLOAD_DIR) + "\\";
    const std::string names[] = {"TessikOne商贸版服务器.exe", "scktsrvr.exe"};
    for (const std::string& name : names)
        ASSERT_TRUE(CopyFileA((staged + name).c_str(), (folder + name).c_str(), FALSE)) << name;

    // Three starts at once, two of the same program; minimised so they cover nothing on screen.
    const std::pair<std::string, std::string> starts[] = {
        {names[0], "False"}, {names[1], "False"}, {names[1], "/port 211 \"a b\""}};
    Started started[3];
    for (int i = 0; i < 3; ++i) {
        std::string command = "\"" + folder + starts[i].first + "\" " + starts[i].second;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_SHOWMINNOACTIVE;
        ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &startup, &started[i].info))
            << command;
    }
    for (int i = 0; i < 3; ++i) {
        HWND window = WaitForWindow(started[i].info.dwProcessId);
        ASSERT_TRUE(window) << starts[i].first;
        const std::string& name = starts[i].first;
        EXPECT_EQ(Title(window), name.substr(0, name.rfind('.')));
        PostMessageA(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(WaitForSingleObject(started[i].info.hProcess, 10000), WAIT_OBJECT_0);
    }

    std::optional<std::string> text = ReadAll(log);
    ASSERT_TRUE(text);
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = text->find("\r\n", start)) != std::string::npos;
         start = end + 2)
        lines.push_back(text->substr(start, end - start));
    for (std::string& line : lines) {  // the creation time closes each line: 16 hex digits
        ASSERT_GE(line.size(), 17u);
        EXPECT_EQ(line[line.size() - 17], '\t') << line;
        line.resize(line.size() - 17);
    }
    std::vector<std::string> expected;
    for (const auto& [name, arguments] : starts) expected.push_back(name + "\t" + arguments);
    std::sort(lines.begin(), lines.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(lines, expected);

    for (const std::string& name : names) DeleteFileA((folder + name).c_str());
    DeleteFileA(log.c_str());
    RemoveDirectoryA(kScratch);
}

}  // namespace
}  // namespace setup
