// The running-program guard for real: a stand-in program holds its file, the placement asks, and
// the answer is given on the real message box as a user would click it.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "install/place_file.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_file_system.h"
#include "platform/text.h"
#include "platform/win32/win32_processes.h"
#include "support/install_fixture.h"
#include "windows/scratch.h"

namespace setup {
namespace {

struct SeenDialog {
    std::string caption, text, button;
};

// Keeps the longest text of a message box's static controls: the message.
BOOL CALLBACK KeepLongestStatic(HWND child, LPARAM out) {
    char window_class[16] = {}, text[512] = {};
    GetClassNameA(child, window_class, sizeof window_class);
    GetWindowTextA(child, text, sizeof text);
    auto& longest = *reinterpret_cast<std::string*>(out);
    if (lstrcmpiA(window_class, "Static") == 0 && strlen(text) > longest.size()) longest = text;
    return TRUE;
}

std::string DialogText(HWND dialog) {
    std::string longest;
    EnumChildWindows(dialog, KeepLongestStatic, reinterpret_cast<LPARAM>(&longest));
    return longest;
}

// Answers this process's message boxes from another thread: clicks the button with the given
// text on a box with the given caption, and records what it saw.
class DialogClicker {
public:
    using Script = std::vector<std::pair<std::string, std::string>>;
    explicit DialogClicker(Script script)
        : script_(std::move(script)), thread_([this] { Run(); }) {}
    ~DialogClicker() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
    }
    std::vector<SeenDialog> Seen() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        return seen_;
    }

private:
    void Run() {
        DWORD step_start = GetTickCount();
        for (std::size_t step = 0; step < script_.size() && !stop_;) {
            const auto& [caption, button] = script_[step];
            HWND dialog = FindWindowA("#32770", caption.c_str());
            DWORD owner = 0;
            if (dialog) GetWindowThreadProcessId(dialog, &owner);
            if (owner != GetCurrentProcessId()) dialog = nullptr;
            HWND target = FindWindowExA(dialog, nullptr, "Button", button.c_str());
            // A box without the expected button would block the test: give up on it after a
            // while with its first button, and record that.
            bool late = GetTickCount() - step_start > 15000;
            if (!target && dialog && late)
                target = FindWindowExA(dialog, nullptr, "Button", nullptr);
            if (!dialog || !target) {
                Sleep(20);
                continue;
            }
            seen_.push_back({caption, DialogText(dialog), late ? "<not found>" : button});
            SendMessageA(target, BM_CLICK, 0, 0);
            ++step;
            step_start = GetTickCount();
        }
    }

    Script script_;
    std::vector<SeenDialog> seen_;
    std::atomic<bool> stop_ = false;
    std::thread thread_;
};

// A copy of the stand-in started from a folder; it opens a window titled with its name.
PROCESS_INFORMATION StartCopy(const std::string& dir, const std::string& exe,
                              const char* source = GUARD_STANDIN_EXE,
                              const std::string& arguments = "") {
    PROCESS_INFORMATION started = {};
    CopyFileA(testing::FromBuildTree(source).c_str(), exe.c_str(), FALSE);
    STARTUPINFOA startup = {sizeof startup};
    std::string command = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
    if (CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       dir.c_str(), &startup, &started))
        CloseHandle(started.hThread);
    return started;
}

void EndCopy(PROCESS_INFORMATION& started) {
    if (!started.hProcess) return;
    TerminateProcess(started.hProcess, 0);
    WaitForSingleObject(started.hProcess, 5000);
    CloseHandle(started.hProcess);
}

class RunningProgram : public ::testing::Test {
protected:
    RunningProgram() {
        dir = testing::ScratchFolder("guard");
        target = dir + "\\scktsrvr.exe";
        started = StartCopy(dir, target);
        for (int i = 0; i < 500 && !FindWindowA(nullptr, "scktsrvr"); ++i) Sleep(20);
        resources.SetResource("Myres0000", "MyFile0000", testing::Frame("new contents"));
    }

    ~RunningProgram() override {
        EndCopy(started);
        DeleteFileA(target.c_str());
        RemoveDirectoryA(dir.c_str());
    }

    std::string Contents() {
        auto bytes = std::string(16, '\0');
        HANDLE file = CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        DWORD read = 0;
        ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
        CloseHandle(file);
        return bytes.substr(0, read);
    }

    std::string dir, target;
    PROCESS_INFORMATION started = {};
    Win32FileSystem files;
    MemoryRegistry registry;
    MemoryShell shell{files};
    Win32Processes processes;
    Win32Dialogs dialogs;
    MemoryResources resources;
    ProductStrings strings;
    testing::RecordingObserver window;
    DirectContents contents{resources};
    InstallSession session{
        strings, {files, registry, shell, processes, dialogs, resources}, &window, &contents};
};

TEST_F(RunningProgram, YesEndsTheProgramAndItsFileIsReplaced) {
    ASSERT_TRUE(IsProgramRunning(processes, "SCKTSRVR"));
    ASSERT_FALSE(files.WriteFileBytes(target, {})) << "a running program's file must be locked";
    // Another product's scktsrvr.exe, started from its own folder, has nothing to do with this
    // installation and goes on running.
    const std::string other_dir = testing::ScratchFolder("guard-other");
    const std::string other = other_dir + "\\scktsrvr.exe";
    PROCESS_INFORMATION elsewhere = StartCopy(other_dir, other);
    DialogClicker clicker(DialogClicker::Script{{"Warning", "&Yes"}});
    EXPECT_EQ(PlaceFile(session, "MyFile0000", "Myres0000", target).placement, Placement::Written);
    auto seen = clicker.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].button, "&Yes");
    EXPECT_EQ(seen[0].text, "程序 SCKTSRVR正在运行，是否强制结束它? ");
    EXPECT_EQ(Contents(), "new contents");
    EXPECT_EQ(WaitForSingleObject(started.hProcess, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(elsewhere.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EndCopy(elsewhere);
    DeleteFileA(other.c_str());
    RemoveDirectoryA(other_dir.c_str());
}

TEST_F(RunningProgram, NoKeepsTheProgramAndTheFailedSecondWriteIsReported) {
    ASSERT_TRUE(IsProgramRunning(processes, "SCKTSRVR"));
    DialogClicker clicker(DialogClicker::Script{{"Warning", "&No"}, {"Error", "OK"}});
    const PlaceOutcome placed = PlaceFile(session, "MyFile0000", "Myres0000", target);
    EXPECT_EQ(placed.placement, Placement::Failed);
    EXPECT_EQ(placed.reason, "X002");
    auto seen = clicker.Seen();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].button, "&No");
    EXPECT_EQ(seen[1].button, "OK");
    EXPECT_EQ(seen[1].text, "文件 SCKTSRVR复制出错(X002)！ ");
    EXPECT_NE(Contents(), "new contents");
    EXPECT_EQ(WaitForSingleObject(started.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

// The holders of a file as the system tells them: the program that runs from it, and one that has
// it loaded as a library; never the installer's own process.
TEST_F(RunningProgram, TheHoldersOfAFileAreItsProgramAndWhoeverHasItLoaded) {
    auto ids = [](const std::vector<ProcessEntry>& holders) {
        std::vector<std::uint32_t> found;
        for (const ProcessEntry& holder : holders) found.push_back(holder.id);
        return found;
    };
    EXPECT_EQ(ids(processes.FileHolders(target)),
              std::vector<std::uint32_t>{started.dwProcessId});

    const std::string library = dir + "\\TsBase.dll";
    ASSERT_TRUE(CopyFileA(testing::FromBuildTree(DEMO_TSBASE_DLL).c_str(), library.c_str(), FALSE));
    const std::string holder_exe = dir + "\\holder.exe";
    PROCESS_INFORMATION holder =
        StartCopy(dir, holder_exe, DEMO_STANDIN_EXE, "--hold " + library);
    for (int i = 0; i < 500 && !FindWindowA(nullptr, "holder"); ++i) Sleep(20);
    const std::vector<ProcessEntry> holders = processes.FileHolders(library);
    EXPECT_EQ(ids(holders), std::vector<std::uint32_t>{holder.dwProcessId});
    ASSERT_EQ(holders.size(), 1u);
    EXPECT_TRUE(text::EqualsIgnoreAsciiCase(holders[0].image_path, holder_exe));
    EXPECT_TRUE(processes.FileHolders(dir + "\\nobody.txt").empty());
    EndCopy(holder);
    DeleteFileA(holder_exe.c_str());
    DeleteFileA(library.c_str());
    DeleteFileA((dir + "\\started.log").c_str());
}

constexpr char kSessionManager[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
constexpr char kPendingRenames[] = "PendingFileRenameOperations";

// The machine's pending renames as they were, put back at the end of the test.
class PendingRenamesKept {
public:
    PendingRenamesKept() {
        DWORD size = 0;
        if (RegGetValueA(HKEY_LOCAL_MACHINE, kSessionManager, kPendingRenames, RRF_RT_REG_MULTI_SZ,
                         nullptr, nullptr, &size) == ERROR_SUCCESS) {
            saved_.resize(size);
            if (RegGetValueA(HKEY_LOCAL_MACHINE, kSessionManager, kPendingRenames,
                             RRF_RT_REG_MULTI_SZ, nullptr, saved_.data(), &size) != ERROR_SUCCESS)
                saved_.clear();
        }
    }
    ~PendingRenamesKept() {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_SET_VALUE, &key) != 0) return;
        if (saved_.empty())
            RegDeleteValueA(key, kPendingRenames);
        else
            RegSetValueExA(key, kPendingRenames, 0, REG_MULTI_SZ,
                           reinterpret_cast<const BYTE*>(saved_.data()),
                           static_cast<DWORD>(saved_.size()));
        RegCloseKey(key);
    }

private:
    std::vector<char> saved_;
};

// The new copy waits beside the running program's file, which stays whole, and the system has its
// rename for the next restart.
TEST_F(RunningProgram, AReplacementAtRestartWaitsBesideTheFileWithItsRenameRecorded) {
    const PendingRenamesKept kept;
    const std::string before = Contents();
    ASSERT_TRUE(files.ReplaceAtRestart(target, [](const ByteSink& sink) {
        const std::string text = "new contents";
        sink(Bytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    }));
    EXPECT_EQ(Contents(), before);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "\\~tr*.tmp").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    FindClose(search);
    const std::string copy = dir + "\\" + found.cFileName;

    char renames[32768] = {};
    DWORD size = sizeof renames;
    ASSERT_EQ(RegGetValueA(HKEY_LOCAL_MACHINE, kSessionManager, kPendingRenames,
                           RRF_RT_REG_MULTI_SZ, nullptr, renames, &size),
              ERROR_SUCCESS);
    std::vector<std::string> pairs;
    for (const char* at = renames; *at; at += strlen(at) + 1) pairs.emplace_back(at);
    const auto from = std::find_if(pairs.begin(), pairs.end(), [&](const std::string& entry) {
        return text::EqualsIgnoreAsciiCase(entry, "\\??\\" + copy);
    });
    ASSERT_NE(from, pairs.end());
    ASSERT_NE(from + 1, pairs.end());
    EXPECT_TRUE(text::EqualsIgnoreAsciiCase(*(from + 1), "!\\??\\" + target));
    DeleteFileA(copy.c_str());
}

}  // namespace
}  // namespace setup
