#include "ui/page_layout.h"

namespace setup::ui {

Bounds TopBackBounds(Size top_piece) {
    return {3, 3, top_piece.width + 6, top_piece.height};
}

Size WindowClientSize(const Bounds& top_back, int page1_center_height, int page1_bottom_height) {
    return {top_back.width, top_back.height + page1_center_height + page1_bottom_height + 5};
}

Bounds CloseButtonBounds(int window_width, Size button) {
    return {window_width - button.width - 6, 6, button.width, button.height};
}

Bounds WelcomeTitleBounds(const Bounds& top_back) {
    return {90, 18, top_back.width - 110, 60};
}

PageFrame LayoutPageFrame(const Bounds& top_back, Size center_piece, Size bottom_piece) {
    PageFrame f;
    f.panel = {3, top_back.height + 2, top_back.width - 6,
               center_piece.height + bottom_piece.height};
    f.center = {0, 0, top_back.width, center_piece.height};
    f.bottom = {0, f.center.height, top_back.width, bottom_piece.height};
    return f;
}

namespace {

// Buttons along the bottom band sit 32 pixels above the panel's bottom edge.
Bounds BottomButton(int left, const PageFrame& f, Size own) {
    return {left, f.panel.height - 32, own.width, own.height};
}

}  // namespace

Page1Layout LayoutPage1(int client_width, const PageFrame& f, Size accept, Size cancel) {
    Page1Layout l;
    l.LblHintDir = {20, 45, 110, 60};
    l.redtRead = {15, f.center.top + 67, f.center.width - 36, f.center.height - 78};
    l.BtnAccept = BottomButton(client_width - 182, f, accept);
    l.BtnCancel = BottomButton(client_width - 98, f, cancel);
    l.chkQuestion = {12, f.panel.height - 34, 314, 22};
    return l;
}

Page2Layout LayoutPage2(int client_width, const PageFrame& f, const Page2OwnSizes& own) {
    Page2Layout l;
    l.lblDirHint = {30, 45, 250, 22};
    l.EditDir = {90, 63, 325, 22};
    l.BtnSetDir = {f.panel.width - 92, 62, own.BtnSetDir.width, own.BtnSetDir.height};
    l.BtnNext = BottomButton(client_width - 188, f, own.BtnNext);
    l.BtnCancelPage2 = BottomButton(client_width - 98, f, own.BtnCancelPage2);
    l.chkAddToDesk = {30, 190, 225, 22};
    l.chkAddToQuickBar = {30, 220, 225, 22};
    l.chkStartWindows = {30, 250, 225, 22};
    // Under the directory, where the hidden data-directory row would be: both lines of every
    // hint stay clear of the options below.
    l.lblHintSystem = {90, 95, 325, 22};
    l.edtDatPath = {90, 113, 325, 22};
    l.btnDatPath = {f.panel.width - 92, 112, own.btnDatPath.width, own.btnDatPath.height};
    l.lblHint1 = {30, 95, 600, 22};
    l.lblHint2 = {70, 290, own.lblHint2.width, own.lblHint2.height};
    return l;
}

Page3Layout LayoutPage3(int client_width, const PageFrame& f, Size bar_frame_piece,
                        Size percentage_label, Size cancel) {
    Page3Layout l;
    const int center_h = f.center.height, panel_w = f.panel.width;
    l.imgProcessBarBack = {30, center_h - 44, panel_w - 60, bar_frame_piece.height};
    l.imgProcessBar = {32, center_h - 42, panel_w - 64, bar_frame_piece.height - 4};
    l.lblNowCopyFile = {30, center_h - 66, panel_w - 60, 22};
    l.lblProcessBarHint = {
        client_width / 2 - percentage_label.width / 2,
        l.imgProcessBar.top + l.imgProcessBar.height / 2 - percentage_label.height / 2,
        percentage_label.width, percentage_label.height};
    l.BtnCancelPage3 = BottomButton(client_width - 98, f, cancel);
    return l;
}

Page4Layout LayoutPage4(int client_width, const PageFrame& f, Size complete) {
    Page4Layout l;
    l.chkStartMorlan = {30, 65, 225, 22};
    l.chkAddToFavorites = {30, 105, 345, 22};
    l.lblHintCancel = {30, 125, 285, 22};
    // The failure form lists the files not installed below the reason, down to the bottom band.
    l.lblFailedFiles = {30, 150, 450, 22};
    l.memFailedFiles = {30, 170, f.panel.width - 60, f.center.height - 180};
    l.BtnComplete = BottomButton(client_width - 98, f, complete);
    // A complete installation that waits for a restart says so below its two options.
    l.lblRestartHint = {30, 150, 450, 22};
    return l;
}

std::optional<PageVisibility> VisibilityForPage(int page) {
    if (page < 1 || page > 4) return std::nullopt;
    PageVisibility v;
    v.panels[page - 1] = true;
    v.licence_controls = page == 1;
    return v;
}

namespace {

// The shipped skin's pieces and what is cut from them, and the two labels that keep the size
// the form gives them.
constexpr Size kTopPiece{510, 63}, kCenterPiece{510, 295}, kBottomPiece{510, 39};
constexpr Size kButton{55, 23}, kCloseButton{27, 19}, kProgressFramePiece{30, 19};
constexpr Size kPercentageLabel{33, 13}, kHint2Label{200, 22};

FormLayout MakeDesignLayout() {
    FormLayout f;
    f.imgTopBack = TopBackBounds(kTopPiece);
    const int client_width = f.imgTopBack.width;
    f.btnWinClose = CloseButtonBounds(client_width, kCloseButton);
    f.LblWelcome1 = WelcomeTitleBounds(f.imgTopBack);
    f.frame = LayoutPageFrame(f.imgTopBack, kCenterPiece, kBottomPiece);
    f.page1 = LayoutPage1(client_width, f.frame, kButton, kButton);
    f.page2 = LayoutPage2(client_width, f.frame, {kButton, kButton, kButton, kButton, kHint2Label});
    f.page3 = LayoutPage3(client_width, f.frame, kProgressFramePiece, kPercentageLabel, kButton);
    f.page4 = LayoutPage4(client_width, f.frame, kButton);
    return f;
}

}  // namespace

const FormLayout& DesignLayout() {
    static const FormLayout layout = MakeDesignLayout();
    return layout;
}

}  // namespace setup::ui
