// TFrmMain: the page flow behind the buttons of pages 2 to 4 and the timer, and the view through
// which the installation and the path check reach the window.
#include "platform/error.h"
#include "ui/frm_main.h"
#include "ui/frm_set_dir.h"

namespace setup::ui {

void TFrmMain::Go(FlowEvent event) {
    if (const std::optional<int> page = NextPage(CurrentPage, event)) ShowPage(*page);
}

void TFrmMain::BtnNextMouseUp(gui::MouseButton, gui::ShiftState, int, int) {
    std::optional<InstallPaths> paths = ValidateInstallPath(
        view_, installation_.Platform().files, Strings(), installation_.Footprint());
    if (!paths) return;
    installation_.SetPaths(*paths);
    Go(FlowEvent::PathAccepted);
    StartCopying();
}

// The run starts with the next tick of tmr1; the percentage shows from now on. A large entry is
// written on a thread of its own, so no message of the chain waits for it whole.
void TFrmMain::StartCopying() {
    if (presets_.no_cancel) {
        BtnCancelPage3.SetVisible(false);
        btnWinClose.SetVisible(false);
    }
    installation_.Start();
    installation_.KeepStepsShort(kLargeEntryWaitMs);
    copying_.Start();
    lblProcessBarHint.SetVisible(true);
}

void TFrmMain::ShowProgressOnly(const InstallOptions& options) {
    progress_only_ = true;
    chkAddToDesk.SetChecked(options.desktop_links);
    chkAddToQuickBar.SetChecked(options.quick_launch_link);
    chkStartWindows.SetChecked(options.autostart);
    Show();
    ShowPage(3);
    BtnCancelPage3.SetVisible(false);
    btnWinClose.SetVisible(false);
    lblProcessBarHint.SetVisible(true);
}

void TFrmMain::Browse(gui::Edit& edit) {
    if (!FrmSetDir) return;
    const std::string& drive = installation_.BrowseDrive();
    if (!drive.empty()) FrmSetDir->SetDrive(drive[0]);
    FrmSetDir->ShowModal(window.Handle());
    // However the dialog was closed, the directory it hands back is taken.
    if (!FrmSetDir->SelectedDir().empty()) edit.SetText(FrmSetDir->SelectedDir());
}

void TFrmMain::BtnSetDirMouseUp(gui::MouseButton, gui::ShiftState, int, int) {
    Browse(EditDir);
}

void TFrmMain::btnDatPathMouseUp(gui::MouseButton, gui::ShiftState, int, int) {
    Browse(edtDatPath);
}

// Cancelling stops the run, so the failure form tells the truth: no further file is written and
// no post-install task runs. Once the records and links are being written it is too late: the
// run goes on to page 4.
void TFrmMain::BtnCancelPage3MouseUp(gui::MouseButton, gui::ShiftState, int, int) {
    if (!installation_.Cancel()) return;
    copying_.Stop();
    Go(FlowEvent::CopyCancelled);
    ShowFailureForm();
}

void TFrmMain::ShowRestartHint() {
    lblRestartHint.SetVisible(true);
}

void TFrmMain::ShowFailureForm() {
    chkStartMorlan.SetVisible(false);
    chkAddToFavorites.SetVisible(false);
    lblHintCancel.SetVisible(true);
    const std::vector<EntryFailure>& failures = installation_.Failures();
    if (failures.empty()) return;
    lblFailedFiles.SetCaption("以下 " + std::to_string(failures.size()) + " 个文件未能安装：");
    std::string list;
    for (const EntryFailure& failure : failures)
        list.append(failure.entry).append("  (").append(failure.reason).append(")\r\n");
    memFailedFiles.SetText(list);
    lblFailedFiles.SetVisible(true);
    memFailedFiles.SetVisible(true);
}

// Only a complete installation offers to start the program or to add the link; the failure form
// hides both options, and finishing it only closes the window.
void TFrmMain::BtnCompleteMouseUp(gui::MouseButton, gui::ShiftState, int, int) {
    if (InstallFinished() && Outcome() == RunOutcome::Complete) {
        if (chkAddToFavorites.Checked()) installation_.AddToFavorites();
        if (chkStartMorlan.Checked()) installation_.StartMainProgram();
    }
    window.Close();
}

// The run's steps, as many as fit the chain's budget; the chain keeps tmr1 stopped meanwhile, so
// a question or message of a step never lets a second step start.
void TFrmMain::tmr1Timer() {
    copying_.Run();
}

WindowHandle TFrmMain::RunView::Owner() const {
    return reinterpret_cast<WindowHandle>(frm_.window.Handle());
}

// The name goes to its label when the chain pauses, and is painted with the bar and the
// percentage: many small files are named once a frame, not each at the cost of measuring its
// text. Only a file that takes long to write has its name painted at once.
void TFrmMain::RunView::ShowCopyCaption(std::string_view caption) {
    frm_.pending_caption_.assign(caption);
    frm_.caption_pending_ = true;
    // A run that someone else steps (the progress window of /SILENT) has no pauses to wait for.
    if (!frm_.copying_.Running()) frm_.ShowPendingCaption();
}

void TFrmMain::ShowPendingCaption() {
    if (!caption_pending_) return;
    caption_pending_ = false;
    lblNowCopyFile.SetCaption(pending_caption_);
}

void TFrmMain::RunView::LongCopyUnderway() {
    frm_.ShowPendingCaption();
    UpdateWindow(frm_.pnlPage3.Handle());
}

void TFrmMain::RunView::ShowProgress(double fraction, std::string_view caption) {
    frm_.DrawProgress(fraction);
    frm_.lblProcessBarHint.SetCaption(std::string(caption));
}

InstallOptions TFrmMain::RunView::Options() const {
    return {frm_.chkAddToDesk.Checked(), frm_.chkAddToQuickBar.Checked(),
            frm_.chkStartWindows.Checked()};
}

void TFrmMain::RunView::RunEnded() {
    if (frm_.progress_only_) return;
    frm_.Go(FlowEvent::RunEnded);
    if (frm_.Outcome() != RunOutcome::Complete)
        frm_.ShowFailureForm();
    else if (frm_.installation_.Run().ReplacedAtRestartCount() > 0)
        frm_.ShowRestartHint();
}

void TFrmMain::RunView::ShowHint(const std::string& text) {
    frm_.lblHintSystem.SetCaption(text);
    frm_.lblHintSystem.SetVisible(true);
}

void TFrmMain::RunView::ShowMessage(const std::string& text) {
    frm_.installation_.Platform().dialogs.ShowPlain(text);
}

}  // namespace setup::ui
