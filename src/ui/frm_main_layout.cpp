// TFrmMain: window size and outline, page layout, page switch and the progress bar.
#include <memory>

#include "platform/win32/handles.h"
#include "ui/frm_main.h"
#include "ui/page_layout.h"
#include "ui/progress.h"
#include "ui/window_region.h"

namespace setup::ui {

namespace {

Size SizeOf(const gui::Bitmap& bitmap) {
    return {bitmap.Width(), bitmap.Height()};
}
Size OwnSize(const gui::Control& control) {
    return {control.Width(), control.Height()};
}

}  // namespace

void TFrmMain::Show() {
    window.Show();
}

void TFrmMain::FormShow() {
    ReadPreviousPath();
    if (presets_.folder) EditDir.SetText(*presets_.folder);
    if (const std::optional<InstallOptions>& options = presets_.options) {
        chkAddToDesk.SetChecked(options->desktop_links);
        chkAddToQuickBar.SetChecked(options->quick_launch_link);
        chkStartWindows.SetChecked(options->autostart);
    }
    FormResize();
}

void TFrmMain::ReadPreviousPath() {
    EditDir.SetText(installation_.ReadPreviousPath());
}

// The desktop is the area that spans all monitors.
void TFrmMain::CenterOnDesktop() {
    const int desktop_w = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int desktop_h = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    window.SetPosition((desktop_w - window.Width()) / 2, (desktop_h - window.Height()) / 2);
}

void TFrmMain::FormResize() {
    imgTopBack.SetBounds(TopBackBounds(SizeOf(Piece(SkinPiece::FrmTop1Back))));
    // Each change of the client size comes back here, nested, through the resize event.
    window.SetClientWidth(imgTopBack.Width());
    window.SetClientHeight(WindowClientSize(imgTopBack.GetBounds(), imgPage1CenterBack.Height(),
                                            imgPage1BottomBack.Height())
                               .height);
    btnWinClose.SetBounds(CloseButtonBounds(window.Width(), OwnSize(btnWinClose)));
    LayoutPage();
    ApplyWindowRegion();
}

// Page 4 says how the installation ended; the finished top bar (with its tick) is for a
// complete one only.
void TFrmMain::LayoutTitle(int page) {
    // The run's own state: page 4 without a run behind it (the page gallery) looks finished.
    const RunOutcome outcome = installation_.Run().Outcome();
    const bool complete =
        page == 4 && outcome != RunOutcome::Cancelled && outcome != RunOutcome::Incomplete;
    imgTopBack.SetPicture(SharedPiece(complete ? SkinPiece::FrmTop2Back : SkinPiece::FrmTop1Back));
    if (page != 4)
        LblWelcome1.SetCaption("欢迎使用" + Strings().SoftSysName);
    else if (outcome == RunOutcome::Cancelled)
        LblWelcome1.SetCaption(Strings().SoftSysName + "安装已取消");
    else if (outcome == RunOutcome::Incomplete)
        LblWelcome1.SetCaption(Strings().SoftSysName + "安装未完成");
    else
        LblWelcome1.SetCaption(Strings().SoftSysName + "安装完成！");
    if (page != 1) return;
    LblWelcome1.SetBounds(WelcomeTitleBounds(imgTopBack.GetBounds()));
    LblWelcome1.SetFont(
        gui::FontSpec{"楷体", gui::PointsToHeight(20), DEFAULT_CHARSET, gui::clWhite});
}

void TFrmMain::LayoutPage() {
    const int n = CurrentPage;
    if (n < 1 || n > 4) return;
    LayoutTitle(n);

    static constexpr SkinPiece kCenters[] = {SkinPiece::FrmCenter1Back, SkinPiece::FrmCenter2Back,
                                             SkinPiece::FrmCenter3Back, SkinPiece::FrmCenter4Back};
    gui::Panel* panels[] = {&pnlPage1, &pnlPage2, &pnlPage3, &pnlPage4};
    gui::Image* centers[] = {&imgPage1CenterBack, &imgPage2CenterBack, &imgPage3CenterBack,
                             &imgPage4CenterBack};
    gui::Image* bottoms[] = {&imgPage1BottomBack, &imgPage2BottomBack, &imgPage3BottomBack,
                             &imgPage4BottomBack};
    const PageFrame frame = LayoutPageFrame(imgTopBack.GetBounds(), SizeOf(Piece(kCenters[n - 1])),
                                            SizeOf(Piece(SkinPiece::FrmBottomBack)));
    panels[n - 1]->SetBounds(frame.panel);
    centers[n - 1]->SetBounds(frame.center);
    bottoms[n - 1]->SetBounds(frame.bottom);

    const gui::Bounds panel = panels[n - 1]->GetBounds();
    switch (n) {
        case 1:
            LayoutPage1(panel);
            break;
        case 2:
            LayoutPage2(panel);
            break;
        case 3:
            LayoutPage3(panel);
            break;
        case 4:
            LayoutPage4(panel);
            break;
    }
}

// The page layouts take the bounds that the page's panel and images have now.
namespace {
PageFrame CurrentFrame(const gui::Bounds& panel, const gui::Image& center,
                       const gui::Image& bottom) {
    return {panel, center.GetBounds(), bottom.GetBounds()};
}
}  // namespace

void TFrmMain::LayoutPage1(const gui::Bounds& panel) {
    const auto l = ui::LayoutPage1(window.ClientWidth(),
                                   CurrentFrame(panel, imgPage1CenterBack, imgPage1BottomBack),
                                   OwnSize(BtnAccept), OwnSize(BtnCancel));
    LblHintDir.SetBounds(l.LblHintDir);
    LblHintDir.SetCaption(Strings().SoftSysName + "用户许可协议");
    redtRead.SetBounds(l.redtRead);
    BtnAccept.SetBounds(l.BtnAccept);
    BtnCancel.SetBounds(l.BtnCancel);
    chkQuestion.SetBounds(l.chkQuestion);
}

void TFrmMain::LayoutPage2(const gui::Bounds& panel) {
    const Page2OwnSizes own{OwnSize(BtnSetDir), OwnSize(BtnNext), OwnSize(BtnCancelPage2),
                            OwnSize(btnDatPath), OwnSize(lblHint2)};
    const auto l = ui::LayoutPage2(
        window.ClientWidth(), CurrentFrame(panel, imgPage2CenterBack, imgPage2BottomBack), own);
    lblDirHint.SetBounds(l.lblDirHint);
    EditDir.SetBounds(l.EditDir);
    BtnSetDir.SetBounds(l.BtnSetDir);
    BtnNext.SetBounds(l.BtnNext);
    BtnCancelPage2.SetBounds(l.BtnCancelPage2);
    chkAddToDesk.SetBounds(l.chkAddToDesk);
    chkAddToQuickBar.SetBounds(l.chkAddToQuickBar);
    chkStartWindows.SetBounds(l.chkStartWindows);
    lblHintSystem.SetBounds(l.lblHintSystem);
    edtDatPath.SetBounds(l.edtDatPath);
    btnDatPath.SetBounds(l.btnDatPath);
    lblHint1.SetBounds(l.lblHint1);
    lblHint2.SetBounds(l.lblHint2);
}

void TFrmMain::LayoutPage3(const gui::Bounds& panel) {
    const auto l = ui::LayoutPage3(
        window.ClientWidth(), CurrentFrame(panel, imgPage3CenterBack, imgPage3BottomBack),
        SizeOf(Piece(SkinPiece::PrBBack)), OwnSize(lblProcessBarHint), OwnSize(BtnCancelPage3));
    imgProcessBarBack.SetBounds(l.imgProcessBarBack);
    imgProcessBar.SetBounds(l.imgProcessBar);
    lblNowCopyFile.SetBounds(l.lblNowCopyFile);
    lblProcessBarHint.SetBounds(l.lblProcessBarHint);
    BuildProgressFrame();
    BtnCancelPage3.SetBounds(l.BtnCancelPage3);
    DrawProgress(1.0);
}

void TFrmMain::LayoutPage4(const gui::Bounds& panel) {
    const auto l = ui::LayoutPage4(window.ClientWidth(),
                                   CurrentFrame(panel, imgPage4CenterBack, imgPage4BottomBack),
                                   OwnSize(BtnComplete));
    chkStartMorlan.SetBounds(l.chkStartMorlan);
    chkAddToFavorites.SetBounds(l.chkAddToFavorites);
    lblHintCancel.SetBounds(l.lblHintCancel);
    lblFailedFiles.SetBounds(l.lblFailedFiles);
    memFailedFiles.SetBounds(l.memFailedFiles);
    lblRestartHint.SetBounds(l.lblRestartHint);
    BtnComplete.SetBounds(l.BtnComplete);
}

// The frame piece stretched to the bar's width: fixed 5-pixel ends, the middle columns repeated.
void TFrmMain::BuildProgressFrame() {
    const gui::Bitmap& piece = Piece(SkinPiece::PrBBack);
    auto frame =
        std::make_shared<gui::Bitmap>(imgProcessBarBack.Width(), imgProcessBarBack.Height());
    for (const FrameSlice& s : ProgressFrameSlices(SizeOf(piece), SizeOf(*frame)))
        frame->StretchFrom(piece, s.from.left, s.from.top, s.from.width, s.from.height, s.to.left,
                           s.to.top, s.to.width, s.to.height);
    imgProcessBarBack.SetPicture(std::move(frame));
}

void TFrmMain::DrawProgress(double fraction) {
    if (fraction == LastProgress) return;
    LastProgress = fraction;
    const gui::Bitmap& piece = Piece(SkinPiece::PrBBar);
    const int w = ProgressBarWidth(imgProcessBarBack.Width(), fraction);
    // Many small files move the bar by less than a pixel each: the bitmap stays until it grows.
    if (w == LastBarWidth) return;
    LastBarWidth = w;
    auto bar = std::make_shared<gui::Bitmap>(w, piece.Height());
    bar->StretchFrom(piece, 0, 0, std::min(kBarSourceColumns, piece.Width()), piece.Height(), 0, 0,
                     w, bar->Height());
    imgProcessBar.SetPicture(std::move(bar));
}

void TFrmMain::ApplyWindowRegion() {
    const auto rects = WindowRegionRects(window.Width(), window.Height());
    win32::UniqueRegion region(
        CreateRectRgn(rects[0].left, rects[0].top, rects[0].right, rects[0].bottom));
    if (!region) return;
    for (std::size_t i = 1; i < rects.size(); ++i) {
        win32::UniqueRegion part(
            CreateRectRgn(rects[i].left, rects[i].top, rects[i].right, rects[i].bottom));
        if (part) CombineRgn(region.get(), region.get(), part.get(), RGN_OR);
    }
    // The window owns the region once it has taken it.
    if (SetWindowRgn(window.Handle(), region.get(), TRUE)) region.release();
}

void TFrmMain::ShowPage(int page) {
    CurrentPage = page;
    if (const auto v = VisibilityForPage(page)) {
        gui::Panel* panels[] = {&pnlPage1, &pnlPage2, &pnlPage3, &pnlPage4};
        for (int i = 0; i < 4; ++i) panels[i]->SetVisible(v->panels[i]);
        redtRead.SetVisible(v->licence_controls);
        chkQuestion.SetVisible(v->licence_controls);
        BtnAccept.SetVisible(v->licence_controls);
    }
    LayoutPage();
}

}  // namespace setup::ui
