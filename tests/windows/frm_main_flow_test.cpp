// The main window's page flow with its real timer, buttons and message boxes, over an in-memory
// platform: what a person cannot easily reach through the screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>

#include "data/file_list.h"
#include "shipped_resources.h"
#include "support/checksums.h"
#include "support/memory_platform.h"
#include "ui/frm_main.h"

namespace setup::ui {
namespace {

// Answers the application's plain message boxes from another thread, as a person would, and
// remembers their texts.
class MessageBoxWatcher {
public:
    MessageBoxWatcher() : thread_([this] { Watch(); }) {}
    ~MessageBoxWatcher() {
        stop_ = true;
        thread_.join();
    }
    std::vector<std::string> Texts() {
        std::lock_guard lock(mutex_);
        return texts_;
    }

private:
    // The message is the box's one static control with text (the icon's has none).
    static std::string MessageText(HWND box) {
        for (HWND child = FindWindowExA(box, nullptr, "Static", nullptr); child;
             child = FindWindowExA(box, child, "Static", nullptr)) {
            char text[512] = {};
            if (GetWindowTextA(child, text, sizeof text) > 0) return text;
        }
        return {};
    }

    void Watch() {
        while (!stop_) {
            HWND box = FindWindowA("#32770", kApplicationTitle);
            if (box && IsWindowVisible(box)) {
                std::lock_guard lock(mutex_);
                texts_.push_back(MessageText(box));
                SendMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
            }
            Sleep(20);
        }
    }

    std::atomic<bool> stop_ = false;
    std::mutex mutex_;
    std::vector<std::string> texts_;
    std::thread thread_;
};

// Runs the message loop until done() holds or the time is up. (<chrono> cannot be compiled with
// the GBK execution character set: its "µs" has no GBK form.)
template <typename Done>
bool PumpUntil(Done done, ULONGLONG limit_ms = 10000) {
    const ULONGLONG end = GetTickCount64() + limit_ms;
    MSG message;
    while (!done()) {
        if (GetTickCount64() > end) return false;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
            if (done()) return true;
        }
        Sleep(1);
    }
    return true;
}

// A left click on a point of a panel, delivered as the mouse delivers it.
void ClickAt(const gui::Panel& panel, int x, int y) {
    SendMessageA(panel.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    SendMessageA(panel.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageA(panel.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

class FrmMainRunTest : public ::testing::Test {
protected:
    FrmMainRunTest() {
        for (unsigned id = kFirstFileListId; id < kFirstFileListId + 3; ++id)
            resources.RemoveString(id);
        platform.files.AddDirectory("D:");
    }
    void AddEntry(int index, const std::string& path, bool with_resource = true) {
        resources.SetString(kFirstFileListId + index, path);
        if (with_resource)
            resources.SetResource(PayloadResourceType(index), PayloadResourceName(index),
                                  testing::Frame("content of " + path));
    }
    // Shows the window and goes through pages 1 and 2 into D:\Inst.
    void StartRun(TFrmMain& frm) {
        frm.window.SetMainForm(false);
        frm.Show();
        frm.chkQuestion.SetChecked(true);
        frm.BtnAcceptMouseUp(gui::MouseButton::Left, 0, 0, 0);
        frm.EditDir.SetText("D:\\Inst");
        frm.BtnNextMouseUp(gui::MouseButton::Left, 0, 0, 0);
    }

    MemoryResources resources = testing::ShippedResources();
    testing::MemoryPlatform platform;
};

// Steps follow one another without a tick each, so what a person sees between two messages is
// some of the percentages, never one going back, and the last one is 100% (the whole sequence is
// the extraction run's, tested with it).
TEST_F(FrmMainRunTest, EightEntriesShowRisingPercentagesAndEndOnPage4) {
    for (int i = 0; i < 8; ++i) AddEntry(i, "f" + std::to_string(i) + ".txt");
    Installation installation(platform.With(resources));
    TFrmMain frm(installation);
    StartRun(frm);
    ASSERT_EQ(frm.CurrentPage, 3);
    ASSERT_TRUE(frm.tmr1.Enabled());

    const std::vector<std::string> all{"0%", "12%", "25%", "38%", "50%", "62%", "75%", "88%", "100%"};
    std::vector<std::string> shown;
    ASSERT_TRUE(PumpUntil([&] {
        if (shown.empty() || shown.back() != frm.lblProcessBarHint.Caption())
            shown.push_back(frm.lblProcessBarHint.Caption());
        return frm.InstallFinished();
    }));
    ASSERT_GE(shown.size(), 2u);
    EXPECT_EQ(shown.front(), "0%");
    EXPECT_EQ(shown.back(), "100%");
    auto at = all.begin();
    for (const std::string& caption : shown) {
        at = std::find(at, all.end(), caption);
        EXPECT_NE(at, all.end()) << caption << " out of order";
    }
    EXPECT_EQ(frm.imgProcessBar.Picture()->Width(), 450);
    EXPECT_EQ(frm.lblNowCopyFile.Caption(), "正在复制文件：D:\\Inst\\f7.txt");
    EXPECT_EQ(frm.CurrentPage, 4);
    EXPECT_FALSE(frm.tmr1.Enabled());
    EXPECT_TRUE(platform.files.FileExists("D:\\Inst\\f7.txt"));
}

// The run goes on past a missing entry, and page 4 then says the installation is not complete,
// lists the file, offers nothing to start, and finishing only closes.
TEST_F(FrmMainRunTest, AFailedEntryEndsOnTheFailurePageThatListsIt) {
    MessageBoxWatcher boxes;
    for (int i = 0; i < 8; ++i) AddEntry(i, "data\\f" + std::to_string(i) + ".txt", i != 3);
    Installation installation(platform.With(resources));
    TFrmMain frm(installation);
    StartRun(frm);
    ASSERT_TRUE(PumpUntil([&] { return frm.InstallFinished(); }));
    EXPECT_EQ(frm.CurrentPage, 4);
    EXPECT_FALSE(platform.files.FileExists("D:\\Inst\\data\\f3.txt"));
    EXPECT_TRUE(platform.files.FileExists("D:\\Inst\\data\\f4.txt"));
    EXPECT_TRUE(boxes.Texts().empty());
    EXPECT_EQ(frm.Outcome(), RunOutcome::Incomplete);
    EXPECT_EQ(frm.LblWelcome1.Caption(), "TessikOne软件商贸版安装未完成");
    EXPECT_TRUE(frm.lblHintCancel.Visible());
    EXPECT_FALSE(frm.chkStartMorlan.Visible());
    EXPECT_TRUE(frm.memFailedFiles.Visible());
    EXPECT_EQ(frm.lblFailedFiles.Caption(), "以下 1 个文件未能安装：");
    EXPECT_EQ(frm.memFailedFiles.Text(), "data\\f3.txt  (Resource MyFile0003 not found)\r\n");

    const std::size_t starts = platform.shell.Starts().size();
    ClickAt(frm.pnlPage4, 418 + 27, 302 + 11);  // BtnComplete
    EXPECT_FALSE(IsWindowVisible(frm.Handle()));
    EXPECT_EQ(platform.shell.Starts().size(), starts);
}

// Page 2 keeps the user there with the reason in its red hint, clear of every other control;
// a right click on the next button does nothing at all.
TEST_F(FrmMainRunTest, NoRoomOnTheDriveKeepsPage2WithTheWholeHint) {
    AddEntry(0, "big.dat");
    testing::AddChecksums(resources, 1);
    platform.files.SetFreeSpace('D', 5);
    Installation installation(platform.With(resources));
    TFrmMain frm(installation);
    frm.window.SetMainForm(false);
    frm.Show();
    frm.chkQuestion.SetChecked(true);
    frm.BtnAcceptMouseUp(gui::MouseButton::Left, 0, 0, 0);
    frm.EditDir.SetText("D:\\Inst");
    SendMessageA(frm.pnlPage2.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(328 + 27, 302 + 11));
    SendMessageA(frm.pnlPage2.Handle(), WM_RBUTTONUP, 0, MAKELPARAM(328 + 27, 302 + 11));
    EXPECT_FALSE(frm.lblHintSystem.Visible());
    ClickAt(frm.pnlPage2, 328 + 27, 302 + 11);  // BtnNext
    EXPECT_EQ(frm.CurrentPage, 2);
    ASSERT_TRUE(frm.lblHintSystem.Visible());
    EXPECT_EQ(frm.lblHintSystem.Caption().rfind("磁盘空间不足", 0), 0u);
    const gui::Bounds hint = frm.lblHintSystem.GetBounds();
    EXPECT_GE(hint.height, 26);  // both lines
    for (const gui::Bounds& other :
         {frm.EditDir.GetBounds(), frm.chkAddToDesk.GetBounds(), frm.chkAddToQuickBar.GetBounds(),
          frm.chkStartWindows.GetBounds()})
        EXPECT_FALSE(hint.Intersects(other));
    EXPECT_FALSE(platform.files.DirectoryExists("D:\\Inst"));
}

TEST_F(FrmMainRunTest, CancelOnPage3StopsTheRunAndFinishOnlyCloses) {
    for (int i = 0; i < 8; ++i) AddEntry(i, "f" + std::to_string(i) + ".txt");
    Installation installation(platform.With(resources));
    TFrmMain frm(installation);
    StartRun(frm);
    ClickAt(frm.pnlPage3, 418 + 27, 302 + 11);  // BtnCancelPage3
    EXPECT_EQ(frm.CurrentPage, 4);
    EXPECT_FALSE(frm.tmr1.Enabled());
    EXPECT_TRUE(frm.lblHintCancel.Visible());
    EXPECT_FALSE(frm.chkStartMorlan.Visible());
    PumpUntil([] { return false; }, 200);
    EXPECT_FALSE(frm.InstallFinished());
    EXPECT_FALSE(platform.files.FileExists("D:\\Inst\\f0.txt"));

    ClickAt(frm.pnlPage4, 418 + 27, 302 + 11);  // BtnComplete
    EXPECT_FALSE(IsWindowVisible(frm.Handle()));
    EXPECT_TRUE(platform.shell.Starts().empty());
}

// Once the records and links are being written, neither 取消 nor closing the window cuts them
// short: the run goes on to the finish page.
TEST_F(FrmMainRunTest, CancelAndCloseWaitWhileTheRecordsAreWritten) {
    AddEntry(0, "f0.txt");
    Installation installation(platform.With(resources));
    TFrmMain frm(installation);
    StartRun(frm);
    frm.tmr1.SetEnabled(false);  // the steps by hand, up to the first post-install task
    ASSERT_TRUE(installation.Step());
    ASSERT_TRUE(installation.Step());
    ASSERT_TRUE(installation.RecordsUnderway());

    ClickAt(frm.pnlPage3, 418 + 27, 302 + 11);  // BtnCancelPage3
    frm.window.Close();
    EXPECT_EQ(frm.CurrentPage, 3);
    EXPECT_TRUE(IsWindowVisible(frm.Handle()));

    frm.tmr1.SetEnabled(true);
    ASSERT_TRUE(PumpUntil([&] { return frm.InstallFinished(); }));
    EXPECT_EQ(frm.CurrentPage, 4);
    EXPECT_EQ(frm.Outcome(), RunOutcome::Complete);
    frm.window.Close();
    EXPECT_FALSE(IsWindowVisible(frm.Handle()));
}

TEST_F(FrmMainRunTest, ErrorInTheFinishHandlerIsDiscardedAndTheWindowStaysOpen) {
    MessageBoxWatcher boxes;
    AddEntry(0, "readme.txt");
    AddEntry(1, "Tessik软件.url", false);  // the favourites link, set aside without its resource
    platform.shell.SetSpecialFolder(0x06, "C:\\Favorites");
    Installation installation(platform.With(resources));
    TFrmMain frm(installation);
    StartRun(frm);
    ASSERT_TRUE(PumpUntil([&] { return frm.InstallFinished(); }));
    ASSERT_EQ(installation.Run().FavoritesEntry().ResourceName, "MyFile0001");

    const std::size_t starts = platform.shell.Starts().size();  // the servers, by the run
    ClickAt(frm.pnlPage4, 418 + 27, 302 + 11);                  // BtnComplete: AddToFavorites fails
    PumpUntil([] { return false; }, 300);
    EXPECT_TRUE(boxes.Texts().empty());
    EXPECT_TRUE(IsWindowVisible(frm.Handle()));         // the handler ended before closing
    EXPECT_EQ(platform.shell.Starts().size(), starts);  // and before starting the program
}

TEST(FrmMainCreationBox, ErrorIsShownInAMessageBoxAndTheWindowStillOpens) {
    MessageBoxWatcher boxes;
    MemoryResources resources = testing::ShippedResources();
    resources.SetString(1004, "FrmCenter2BackRect=2,422,510");
    testing::MemoryPlatform platform;
    Installation installation(platform.With(resources));
    TFrmMain frm(installation);
    frm.window.SetMainForm(false);
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"List index out of bounds (3)"});
    frm.Show();
    EXPECT_TRUE(IsWindowVisible(frm.Handle()));
    EXPECT_EQ(frm.Piece(SkinPiece::FrmCenter1Back).Width(), 510);  // cut before the error
    EXPECT_TRUE(frm.Piece(SkinPiece::FrmCenter2Back).Empty());
}

}  // namespace
}  // namespace setup::ui
