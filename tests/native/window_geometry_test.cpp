// Layout of the main window computed from the shipped skin settings, its outline, and the
// progress bar's widths and frame slices.
#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <set>
#include <utility>

#include "data/settings.h"
#include "platform/rounding.h"
#include "support/shipped_settings.h"
#include "ui/page_flow.h"
#include "ui/page_layout.h"
#include "ui/progress.h"
#include "ui/window_region.h"

namespace setup::ui {
namespace {

Size Shipped(SkinPiece piece) {
    std::string_view line = testing::kShippedSettings[static_cast<int>(piece)];
    PieceRect r = ParseRectValue(line.substr(line.find('=') + 1));
    return {r.w, r.h};
}

struct ShippedWindow {
    Bounds top = TopBackBounds(Shipped(SkinPiece::FrmTop1Back));
    Size client = WindowClientSize(top, Shipped(SkinPiece::FrmCenter1Back).height,
                                   Shipped(SkinPiece::FrmBottomBack).height);
    Size button{StripFrameWidth(SkinPiece::Btn), Shipped(SkinPiece::Btn).height};

    static int StripFrameWidth(SkinPiece strip) { return Shipped(strip).width / 4; }
    PageFrame Frame(SkinPiece center) const {
        return LayoutPageFrame(top, Shipped(center), Shipped(SkinPiece::FrmBottomBack));
    }
};

TEST(WindowLayout, ShippedSkinGivesA516By402WindowWithCloseButtonAt483And6) {
    ShippedWindow w;
    EXPECT_EQ(w.top, (Bounds{3, 3, 516, 63}));
    EXPECT_EQ(w.client, (Size{516, 402}));
    Size close{ShippedWindow::StripFrameWidth(SkinPiece::BtnClose), 19};
    EXPECT_EQ(CloseButtonBounds(w.client.width, close), (Bounds{483, 6, 27, 19}));
    EXPECT_EQ(WelcomeTitleBounds(w.top), (Bounds{90, 18, 406, 60}));
}

TEST(WindowLayout, EmptyTopPieceGivesClientWidthSix) {
    Bounds top = TopBackBounds({0, 0});
    EXPECT_EQ(WindowClientSize(top, 0, 0), (Size{6, 5}));
}

TEST(WindowLayout, EveryPageFrameSitsBelowTheTopBar) {
    ShippedWindow w;
    for (SkinPiece center : {SkinPiece::FrmCenter1Back, SkinPiece::FrmCenter2Back,
                             SkinPiece::FrmCenter3Back, SkinPiece::FrmCenter4Back}) {
        PageFrame f = w.Frame(center);
        EXPECT_EQ(f.panel, (Bounds{3, 65, 510, 334}));
        EXPECT_EQ(f.center, (Bounds{0, 0, 516, 295}));
        EXPECT_EQ(f.bottom, (Bounds{0, 295, 516, 39}));
    }
}

TEST(WindowLayout, PageOneLicenceBoxAndButtons) {
    ShippedWindow w;
    Page1Layout l =
        LayoutPage1(w.client.width, w.Frame(SkinPiece::FrmCenter1Back), w.button, w.button);
    EXPECT_EQ(l.LblHintDir, (Bounds{20, 45, 110, 60}));
    EXPECT_EQ(l.redtRead, (Bounds{15, 67, 480, 217}));
    EXPECT_EQ(l.BtnAccept, (Bounds{334, 302, 55, 23}));
    EXPECT_EQ(l.BtnCancel, (Bounds{418, 302, 55, 23}));
    EXPECT_EQ(l.chkQuestion, (Bounds{12, 300, 314, 22}));
}

TEST(WindowLayout, PageTwoButtonsFollowPanelAndClientWidth) {
    ShippedWindow w;
    Page2OwnSizes own{w.button, w.button, w.button, w.button, {40, 13}};
    Page2Layout l = LayoutPage2(w.client.width, w.Frame(SkinPiece::FrmCenter2Back), own);
    EXPECT_EQ(l.lblDirHint, (Bounds{30, 45, 250, 22}));
    EXPECT_EQ(l.EditDir, (Bounds{90, 63, 325, 22}));
    EXPECT_EQ(l.BtnSetDir, (Bounds{418, 62, 55, 23}));
    EXPECT_EQ(l.BtnNext, (Bounds{328, 302, 55, 23}));
    EXPECT_EQ(l.BtnCancelPage2, (Bounds{418, 302, 55, 23}));
    EXPECT_EQ(l.chkAddToDesk, (Bounds{30, 190, 225, 22}));
    EXPECT_EQ(l.chkAddToQuickBar, (Bounds{30, 220, 225, 22}));
    EXPECT_EQ(l.chkStartWindows, (Bounds{30, 250, 225, 22}));
    EXPECT_EQ(l.lblHintSystem, (Bounds{90, 95, 325, 22}));
    EXPECT_EQ(l.edtDatPath, (Bounds{90, 113, 325, 22}));
    EXPECT_EQ(l.btnDatPath, (Bounds{418, 112, 55, 23}));
    EXPECT_EQ(l.lblHint1, (Bounds{30, 95, 600, 22}));
    EXPECT_EQ(l.lblHint2, (Bounds{70, 290, 40, 13}));
}

TEST(WindowLayout, PageThreeBarAndPercentageCentredOnTheClientWidth) {
    ShippedWindow w;
    Page3Layout l = LayoutPage3(w.client.width, w.Frame(SkinPiece::FrmCenter3Back),
                                Shipped(SkinPiece::PrBBack), {33, 13}, w.button);
    EXPECT_EQ(l.imgProcessBarBack, (Bounds{30, 251, 450, 19}));
    EXPECT_EQ(l.imgProcessBar, (Bounds{32, 253, 446, 15}));
    EXPECT_EQ(l.lblNowCopyFile, (Bounds{30, 229, 450, 22}));
    // Centred on the window, not on the panel that starts 3 pixels further right.
    EXPECT_EQ(l.lblProcessBarHint, (Bounds{242, 254, 33, 13}));
    EXPECT_EQ(l.BtnCancelPage3, (Bounds{418, 302, 55, 23}));
}

TEST(WindowLayout, PageFourOptionsAndFinishButton) {
    ShippedWindow w;
    Page4Layout l = LayoutPage4(w.client.width, w.Frame(SkinPiece::FrmCenter4Back), w.button);
    EXPECT_EQ(l.chkStartMorlan, (Bounds{30, 65, 225, 22}));
    EXPECT_EQ(l.chkAddToFavorites, (Bounds{30, 105, 345, 22}));
    EXPECT_EQ(l.lblHintCancel, (Bounds{30, 125, 285, 22}));
    EXPECT_EQ(l.BtnComplete, (Bounds{418, 302, 55, 23}));
}

TEST(PageSwitch, ExactlyOnePanelAndLicenceControlsOnPageOneOnly) {
    for (int page = 1; page <= 4; ++page) {
        auto v = VisibilityForPage(page);
        ASSERT_TRUE(v);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(v->panels[i], i == page - 1) << page;
        EXPECT_EQ(v->licence_controls, page == 1);
    }
    EXPECT_FALSE(VisibilityForPage(0));
    EXPECT_FALSE(VisibilityForPage(5));
}

// Pages change only forward, each event from its own page; copying starts by its own call, not
// as a side effect of showing page 3.
TEST(PageFlow, EachEventLeadsOnFromItsOwnPageOnly) {
    EXPECT_EQ(NextPage(1, FlowEvent::LicenceAccepted), 2);
    EXPECT_EQ(NextPage(2, FlowEvent::PathAccepted), 3);
    EXPECT_EQ(NextPage(3, FlowEvent::CopyCancelled), 4);
    EXPECT_EQ(NextPage(3, FlowEvent::RunEnded), 4);
    EXPECT_FALSE(NextPage(2, FlowEvent::LicenceAccepted));
    EXPECT_FALSE(NextPage(4, FlowEvent::RunEnded));
    EXPECT_FALSE(NextPage(1, FlowEvent::PathAccepted));
}

// The window is built at the design layout: with the shipped skin it is the layout the form
// file gives, so nothing moves when the skin is cut and the window laid out again.
TEST(DesignLayout, IsTheFormFilesPlacesAtTheShippedSizes) {
    const FormLayout& d = DesignLayout();
    EXPECT_EQ(d.imgTopBack, (Bounds{3, 3, 516, 63}));
    EXPECT_EQ(d.btnWinClose, (Bounds{483, 6, 27, 19}));
    EXPECT_EQ(d.LblWelcome1, (Bounds{90, 18, 406, 60}));
    EXPECT_EQ(d.frame.panel, (Bounds{3, 65, 510, 334}));
    EXPECT_EQ(d.page1.redtRead, (Bounds{15, 67, 480, 217}));
    EXPECT_EQ(d.page1.BtnAccept, (Bounds{334, 302, 55, 23}));
    EXPECT_EQ(d.page2.BtnNext, (Bounds{328, 302, 55, 23}));
    EXPECT_EQ(d.page2.BtnSetDir, (Bounds{418, 62, 55, 23}));
    EXPECT_EQ(d.page3.imgProcessBar, (Bounds{32, 253, 446, 15}));
    EXPECT_EQ(d.page3.lblProcessBarHint, (Bounds{242, 254, 33, 13}));
    EXPECT_EQ(d.page4.BtnComplete, (Bounds{418, 302, 55, 23}));
}

// Which pixels the union of the nine rectangles covers.
std::set<std::pair<int, int>> Covered(int w, int h) {
    std::set<std::pair<int, int>> pixels;
    for (const Edges& e : WindowRegionRects(w, h))
        for (int y = e.top; y < e.bottom; ++y)
            for (int x = e.left; x < e.right; ++x) pixels.insert({x, y});
    return pixels;
}

TEST(WindowOutline, ShippedWindowShows510By396WithSteppedCorners) {
    const int w = 516, h = 402;
    auto pixels = Covered(w, h);
    auto in = [&](int x, int y) { return pixels.count({x, y}) == 1; };
    // Each side: the outer 3 pixels lie outside.
    for (int x = 0; x < w; ++x) EXPECT_FALSE(in(x, 2) || in(x, h - 3));
    for (int y = 0; y < h; ++y) EXPECT_FALSE(in(2, y) || in(w - 3, y));
    // Rows at the top begin 3, 2, 1 pixels in, then the full width from row 6.
    const int first_in_row[] = {6, 5, 4, 3};
    for (int step = 0; step < 4; ++step) {
        const int y = 3 + step, first = first_in_row[step];
        EXPECT_FALSE(in(first - 1, y)) << y;
        EXPECT_TRUE(in(first, y)) << y;
        EXPECT_TRUE(in(w - 1 - first, y)) << y;
        EXPECT_FALSE(in(w - first, y)) << y;
        // The same steps at the bottom.
        EXPECT_FALSE(in(first - 1, h - 1 - y)) << y;
        EXPECT_TRUE(in(first, h - 1 - y)) << y;
    }
    // Inside the outline every pixel is covered: 510 x 396 less 6 missing pixels per corner.
    EXPECT_EQ(pixels.size(), 510u * 396u - 4u * 6u);
}

TEST(ProgressBar, WidthRoundsHalfToEvenAndStaysInsideTheFrame) {
    EXPECT_EQ(ProgressBarWidth(450, 0.001), 0);
    EXPECT_EQ(ProgressBarWidth(450, 0.5), 225);
    EXPECT_EQ(ProgressBarWidth(450, 2.5 / 450), 2);
    EXPECT_EQ(ProgressBarWidth(450, 3.5 / 450), 4);
    EXPECT_EQ(ProgressBarWidth(450, 1.0), 450);
    EXPECT_EQ(ProgressBarWidth(450, 0.0), 0);
    // Out-of-range fractions give no negative or oversized bitmap.
    EXPECT_EQ(ProgressBarWidth(450, -0.5), 0);
    EXPECT_EQ(ProgressBarWidth(450, 1e12), 450);
    EXPECT_EQ(ProgressBarWidth(450, std::nan("")), 0);
    EXPECT_EQ(ProgressBarWidth(0, 0.5), 0);
}

TEST(ProgressBar, RoundingIgnoresTheFloatingPointRoundingMode) {
    const int old = std::fegetround();
    std::fesetround(FE_UPWARD);
    const long long a = RoundHalfEven(2.5), b = RoundHalfEven(3.5), c = RoundHalfEven(2.4999);
    std::fesetround(old);
    EXPECT_EQ(a, 2);
    EXPECT_EQ(b, 4);
    EXPECT_EQ(c, 2);
}

TEST(ProgressBar, FrameKeepsFivePixelEndsAndStretchesTheMiddle) {
    auto s = ProgressFrameSlices({30, 19}, {450, 19});
    EXPECT_EQ(s[0].from, (Bounds{0, 0, 5, 19}));
    EXPECT_EQ(s[0].to, (Bounds{0, 0, 5, 19}));
    EXPECT_EQ(s[1].from, (Bounds{5, 0, 20, 19}));
    EXPECT_EQ(s[1].to, (Bounds{5, 0, 440, 19}));
    EXPECT_EQ(s[2].from, (Bounds{25, 0, 5, 19}));
    EXPECT_EQ(s[2].to, (Bounds{445, 0, 5, 19}));
}

}  // namespace
}  // namespace setup::ui
