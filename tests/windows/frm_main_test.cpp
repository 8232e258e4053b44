// The main window built from the shipped settings and the generated skin: its size, outline,
// pages, progress bar, licence and captions, the agree box, and an error during creation.
#include <gtest/gtest.h>

#include <string>

#include "support/memory_platform.h"
#include "ui/frm_main.h"
#include "ui/window_region.h"
#include "window_test_support.h"

namespace setup::ui {
namespace {

using testing::At;
using testing::CapturedErrors;

class FrmMainTest : public ::testing::Test {
protected:
    FrmMainTest() { frm.window.SetMainForm(false); }

    bool SamePixels(const gui::Bitmap& a, const gui::Bitmap& b) {
        if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
        for (int y = 0; y < a.Height(); ++y)
            for (int x = 0; x < a.Width(); ++x)
                if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
        return true;
    }

    CapturedErrors errors;
    MemoryResources resources = testing::ShippedResources();
    testing::MemoryPlatform platform;
    Installation installation{platform.With(resources)};
    TFrmMain frm{installation};
};

TEST_F(FrmMainTest, ShownWindowIs516By402WithoutCaptionAndCentredOnTheDesktop) {
    frm.Show();
    EXPECT_TRUE(errors.texts.empty()) << errors.texts[0];
    RECT r{};
    GetWindowRect(frm.Handle(), &r);
    EXPECT_EQ(r.right - r.left, 516);
    EXPECT_EQ(r.bottom - r.top, 402);
    EXPECT_EQ(frm.window.ClientWidth(), 516);
    EXPECT_EQ(frm.window.ClientHeight(), 402);
    EXPECT_EQ(GetWindowLongA(frm.Handle(), GWL_STYLE) & WS_CAPTION, 0);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXVIRTUALSCREEN) - 516) / 2);
    EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYVIRTUALSCREEN) - 402) / 2);
    EXPECT_EQ(frm.btnWinClose.GetBounds(), (gui::Bounds{483, 6, 27, 19}));
    EXPECT_EQ(frm.imgTopBack.GetBounds(), (gui::Bounds{3, 3, 516, 63}));
    EXPECT_EQ(frm.pnlPage1.GetBounds(), (gui::Bounds{3, 65, 510, 334}));
    EXPECT_EQ(frm.redtRead.GetBounds(), (gui::Bounds{15, 67, 480, 217}));
    EXPECT_EQ(frm.BtnAccept.GetBounds(), (gui::Bounds{334, 302, 55, 23}));
    EXPECT_TRUE(IsWindowVisible(frm.Handle()));
}

TEST_F(FrmMainTest, WindowRegionIsTheUnionOfTheNineRectangles) {
    frm.Show();
    win32::UniqueRegion actual(CreateRectRgn(0, 0, 0, 0));
    ASSERT_EQ(GetWindowRgn(frm.Handle(), actual.get()), COMPLEXREGION);
    win32::UniqueRegion expected(CreateRectRgn(0, 0, 0, 0));
    for (const Edges& e : WindowRegionRects(516, 402)) {
        win32::UniqueRegion part(CreateRectRgn(e.left, e.top, e.right, e.bottom));
        CombineRgn(expected.get(), expected.get(), part.get(), RGN_OR);
    }
    EXPECT_TRUE(EqualRgn(actual.get(), expected.get()));
    RECT box{};
    GetRgnBox(actual.get(), &box);
    EXPECT_EQ(box.right - box.left, 510);
    EXPECT_EQ(box.bottom - box.top, 396);
    EXPECT_FALSE(PtInRegion(actual.get(), 5, 3));
    EXPECT_TRUE(PtInRegion(actual.get(), 6, 3));
    EXPECT_FALSE(PtInRegion(actual.get(), 4, 4));
    EXPECT_TRUE(PtInRegion(actual.get(), 3, 6));
    // A second resize with nothing changed keeps bounds and region.
    frm.FormResize();
    win32::UniqueRegion again(CreateRectRgn(0, 0, 0, 0));
    GetWindowRgn(frm.Handle(), again.get());
    EXPECT_TRUE(EqualRgn(again.get(), expected.get()));
    EXPECT_EQ(frm.window.Width(), 516);
}

TEST_F(FrmMainTest, ProgressBarIs450WideOfWhich446ShowAndRepeatsDrawNothing) {
    frm.Show();
    frm.ShowPage(3);
    const gui::Bitmap* full = frm.imgProcessBar.Picture();
    ASSERT_NE(full, nullptr);
    EXPECT_EQ(full->Width(), 450);  // layout of page 3 draws the bar full
    EXPECT_EQ(full->Height(), 15);
    EXPECT_EQ(frm.imgProcessBar.Width(), 446);
    // Every column repeats one of the fill piece's two leftmost columns.
    const gui::Bitmap& fill = frm.Piece(SkinPiece::PrBBar);
    for (int x = 0; x < 450; x += 37) {
        COLORREF c = full->Pixel(x, 7);
        EXPECT_TRUE(c == fill.Pixel(0, 7) || c == fill.Pixel(1, 7)) << x;
    }
    // On screen the bar shows its first 446 columns: the panel paints no more of it.
    gui::Bitmap shot = testing::Render(frm.pnlPage3, frm.imgProcessBar.GetBounds());
    EXPECT_EQ(shot.Pixel(445, 7), full->Pixel(445, 7));

    frm.DrawProgress(0.001);
    EXPECT_EQ(frm.imgProcessBar.Picture()->Width(), 0);
    frm.DrawProgress(0.5);
    const gui::Bitmap* half = frm.imgProcessBar.Picture();
    EXPECT_EQ(half->Width(), 225);
    frm.DrawProgress(0.5);
    EXPECT_EQ(frm.imgProcessBar.Picture(), half);  // same fraction: nothing drawn
    EXPECT_EQ(frm.LastProgress, 0.5);
}

TEST_F(FrmMainTest, ProgressFrameKeepsItsEndsAndLetsTheCornersShowThrough) {
    frm.ShowPage(3);
    const gui::Bitmap* frame = frm.imgProcessBarBack.Picture();
    const gui::Bitmap& piece = frm.Piece(SkinPiece::PrBBack);
    ASSERT_EQ(frame->Width(), 450);
    for (int y = 0; y < 19; ++y) {
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(frame->Pixel(x, y), piece.Pixel(x, y));
            EXPECT_EQ(frame->Pixel(445 + x, y), piece.Pixel(25 + x, y));
        }
        EXPECT_EQ(frame->Pixel(200, y), piece.Pixel(15, y));
    }
    EXPECT_TRUE(frm.imgProcessBarBack.Transparent());
}

TEST_F(FrmMainTest, PagesShowOnePanelAndCopyingStartsByItsOwnCall) {
    frm.Show();
    frm.ShowPage(2);
    EXPECT_EQ(frm.CurrentPage, 2);
    EXPECT_FALSE(frm.pnlPage1.Visible());
    EXPECT_TRUE(frm.pnlPage2.Visible());
    EXPECT_FALSE(frm.redtRead.Visible());
    EXPECT_FALSE(frm.chkQuestion.Visible());
    EXPECT_FALSE(frm.BtnAccept.Visible());
    EXPECT_FALSE(frm.edtDatPath.Visible());
    EXPECT_FALSE(frm.btnDatPath.Visible());
    EXPECT_EQ(frm.BtnSetDir.GetBounds(), (gui::Bounds{418, 62, 55, 23}));
    EXPECT_FALSE(frm.tmr1.Enabled());
    EXPECT_EQ(frm.tmr1.Interval(), 10u);

    frm.ShowPage(3);
    EXPECT_TRUE(frm.pnlPage3.Visible());
    EXPECT_FALSE(frm.tmr1.Enabled());
    EXPECT_EQ(frm.lblProcessBarHint.GetBounds(), (gui::Bounds{242, 254, 33, 13}));
    frm.StartCopying();
    EXPECT_TRUE(frm.tmr1.Enabled());
    EXPECT_TRUE(frm.lblProcessBarHint.Visible());
    EXPECT_TRUE(installation.Started());
    frm.tmr1.SetEnabled(false);

    frm.ShowPage(9);
    EXPECT_EQ(frm.CurrentPage, 9);
    EXPECT_TRUE(frm.pnlPage3.Visible());
}

TEST_F(FrmMainTest, FinishPageHasTheSecondTopBarAndTheFinishedTitle) {
    frm.ShowPage(4);
    EXPECT_EQ(frm.LblWelcome1.Caption(), "TessikOne软件商贸版安装完成！");
    EXPECT_TRUE(SamePixels(*frm.imgTopBack.Picture(), frm.Piece(SkinPiece::FrmTop2Back)));
    EXPECT_FALSE(SamePixels(frm.Piece(SkinPiece::FrmTop1Back), frm.Piece(SkinPiece::FrmTop2Back)));
    // The title keeps the font page 1 gave it.
    EXPECT_EQ(frm.LblWelcome1.GetFont().face, "楷体");
    EXPECT_EQ(frm.LblWelcome1.GetFont().color, gui::clWhite);
    EXPECT_FALSE(frm.lblHintCancel.Visible());
    EXPECT_EQ(frm.BtnComplete.GetBounds(), (gui::Bounds{418, 302, 55, 23}));
}

TEST_F(FrmMainTest, AgreeBoxAloneEnablesTheAcceptButton) {
    frm.Show();
    EXPECT_FALSE(frm.BtnAccept.Enabled());
    frm.chkAddToDesk.Toggle();
    EXPECT_FALSE(frm.BtnAccept.Enabled());
    SendMessageA(frm.chkQuestion.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    SendMessageA(frm.chkQuestion.Handle(), WM_LBUTTONUP, 0, At(5, 5));
    EXPECT_TRUE(frm.chkQuestion.Checked());
    EXPECT_TRUE(frm.BtnAccept.Enabled());
    frm.chkQuestion.Toggle();
    EXPECT_FALSE(frm.BtnAccept.Enabled());
}

TEST_F(FrmMainTest, AcceptLeadsToPageTwoAndCloseHidesTheWindow) {
    frm.Show();
    frm.chkQuestion.SetChecked(true);
    const gui::Bounds accept = frm.BtnAccept.GetBounds();
    const LPARAM at = At(accept.left + 5, accept.top + 5);
    SendMessageA(frm.pnlPage1.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(frm.pnlPage1.Handle(), WM_LBUTTONUP, 0, at);
    EXPECT_EQ(frm.CurrentPage, 2);
    const gui::Bounds close = frm.btnWinClose.GetBounds();
    SendMessageA(frm.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(close.left + 3, close.top + 3));
    SendMessageA(frm.Handle(), WM_LBUTTONUP, 0, At(close.left + 3, close.top + 3));
    EXPECT_FALSE(IsWindowVisible(frm.Handle()));
}

TEST_F(FrmMainTest, LicenceCaptionsAndDefaultsComeFromTheResources) {
    frm.Show();
    ASSERT_NE(frm.redtRead.Handle(), nullptr);
    EXPECT_EQ(frm.redtRead.Text(), testing::kLicenceText);
    EXPECT_EQ(frm.chkStartWindows.Caption(), "开机启动TessikOne软件商贸版");
    EXPECT_EQ(frm.chkStartMorlan.Caption(), "启动TessikOne软件商贸版");
    EXPECT_EQ(frm.chkAddToFavorites.Caption(), "将Tessik软件官网(www.tessik.com.cn)添加到收藏夹");
    EXPECT_EQ(frm.LblHintDir.Caption(), "TessikOne软件商贸版用户许可协议");
    EXPECT_EQ(frm.LblWelcome1.Caption(), "欢迎使用TessikOne软件商贸版");
    EXPECT_EQ(frm.EditDir.Text(), "D:\\Tessik软件\\TessikOne软件商贸版");
    EXPECT_EQ(frm.edtDatPath.Text(), "D:\\Tessik软件用户数据");
    EXPECT_EQ(installation.BrowseDrive(), "C");
    EXPECT_EQ(installation.FileCount(), 3);
    EXPECT_EQ(installation.Run().PayloadFileList()[2], "RepCenter\\销售单.rpt");
    EXPECT_FALSE(frm.InstallFinished());
    for (auto* box : {&frm.chkAddToDesk, &frm.chkAddToQuickBar, &frm.chkStartWindows,
                      &frm.chkStartMorlan, &frm.chkAddToFavorites})
        EXPECT_TRUE(box->Checked());
    EXPECT_EQ(frm.BtnAccept.StateImage(controls::ButtonImage::Normal).Width(), 55);
    EXPECT_EQ(frm.btnWinClose.Width(), 27);
}

TEST(FrmMainLicence, TextThatLooksLikeRichTextOrIsLongIsShownAsItIs) {
    CapturedErrors errors;
    MemoryResources resources = testing::ShippedResources();
    std::string licence = "{\\rtf1 \\b 粗体\\b0 }\r\n";
    for (int i = 0; i < 3000; ++i) licence += "第" + std::to_string(i) + "条 条款文本。\r\n";
    ASSERT_GT(licence.size(), 40000u);
    resources.SetResource("MyRes2", "MainRect",
                          testing::Frame(licence + std::string(1, '\0') + "x"));
    testing::MemoryPlatform platform;
    Installation installation(platform.With(resources));
    TFrmMain frm(installation);
    frm.window.SetMainForm(false);
    ASSERT_NE(frm.redtRead.Handle(), nullptr);
    const std::string shown = frm.redtRead.Text();
    EXPECT_EQ(shown.size(), licence.size());
    std::size_t at = 0;
    while (at < shown.size() && at < licence.size() && shown[at] == licence[at]) ++at;
    EXPECT_EQ(at, licence.size()) << "differs at " << at << ": [" << shown.substr(at, 20)
                                  << "] vs [" << licence.substr(at, 20) << "]";
}

TEST(FrmMainCreation, MissingSkinIsShownAndTheWindowStillOpens) {
    CapturedErrors errors;
    MemoryResources no_skin;
    for (unsigned i = 0; i < setup::testing::kShippedSettings.size(); ++i)
        no_skin.SetString(1001 + i, std::string(setup::testing::kShippedSettings[i]));
    testing::MemoryPlatform platform;
    Installation installation(platform.With(no_skin));
    TFrmMain frm(installation);
    frm.window.SetMainForm(false);
    EXPECT_EQ(errors.texts, std::vector<std::string>{"Resource MainBmp not found"});
    ASSERT_NE(frm.Handle(), nullptr);
    // Creation stopped in the skin step: no strips, design captions; the installation read its
    // list all the same.
    EXPECT_FALSE(frm.BtnAccept.Loaded());
    EXPECT_EQ(frm.chkStartWindows.Caption(), "");
    EXPECT_EQ(installation.FileCount(), 0);
    frm.Show();
    EXPECT_TRUE(IsWindowVisible(frm.Handle()));
}

TEST(FrmMainCreation, BadRectangleSettingLeavesTheLaterPiecesEmpty) {
    CapturedErrors errors;
    MemoryResources resources = testing::ShippedResources();
    resources.SetString(1008, "PrBBackRect=766,101,x,19");
    testing::MemoryPlatform platform;
    Installation installation(platform.With(resources));
    TFrmMain frm(installation);
    frm.window.SetMainForm(false);
    EXPECT_EQ(errors.texts, std::vector<std::string>{"'x' is not a valid integer value"});
    EXPECT_EQ(frm.Piece(SkinPiece::FrmBottomBack).Width(), 510);
    EXPECT_TRUE(frm.Piece(SkinPiece::PrBBack).Empty());
    EXPECT_TRUE(frm.Piece(SkinPiece::BtnClose).Empty());
    // Page 3 still lays out, with an empty frame and bar.
    frm.ShowPage(3);
    frm.tmr1.SetEnabled(false);
    EXPECT_EQ(frm.imgProcessBar.Picture()->Width(), 450);
    EXPECT_EQ(frm.imgProcessBar.Picture()->Height(), 0);
}

TEST_F(FrmMainTest, DragFromTheTopEdgePutsTheWindowAtMinusThree) {
    frm.Show();
    frm.window.SetPosition(100, -20);
    // The system move loop ends at the release that is already waiting.
    PostMessageA(frm.Handle(), WM_LBUTTONUP, 0, At(10, 10));
    SendMessageA(frm.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, At(20, 20));
    RECT r{};
    GetWindowRect(frm.Handle(), &r);
    EXPECT_EQ(r.top, -3);
    EXPECT_EQ(r.left, 100);
}

}  // namespace
}  // namespace setup::ui
