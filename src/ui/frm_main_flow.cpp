// TFrmMain: the page flow behind the buttons of pages 2 to 4 and the timer, and the view through
// which the installation and the path check reach the window.
#include "install/registry_records.h"
#include "platform/error.h"
#include "ui/frm_main.h"
#include "ui/frm_set_dir.h"

namespace setup::ui {

void TFrmMain::BtnNextMouseUp(gui::MouseButton, gui::ShiftState, int, int) {
    std::optional<InstallPaths> paths =
        ValidateInstallPath(view_, session_.platform.files, Strings, PayloadBytes);
    if (!paths) return;
    session_.InstallDir = paths->InstallDir;
    session_.MainExePath = paths->MainExePath;
    session_.UninstallerPath = paths->UninstallerPath;
    ShowPage(3);
}

void TFrmMain::Browse(gui::Edit& edit) {
    if (!FrmSetDir) return;
    if (!session_.BrowseDrive.empty()) FrmSetDir->SetDrive(session_.BrowseDrive[0]);
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
// no post-install task runs.
void TFrmMain::BtnCancelPage3MouseUp(gui::MouseButton, gui::ShiftState, int, int) {
    tmr1.SetEnabled(false);
    if (run_) run_->Cancel();
    ShowPage(4);
    ShowFailureForm();
}

void TFrmMain::ShowFailureForm() {
    chkStartMorlan.SetVisible(false);
    chkAddToFavorites.SetVisible(false);
    lblHintCancel.SetVisible(true);
    const std::vector<EntryFailure> none;
    const std::vector<EntryFailure>& failures = run_ ? run_->Failures() : none;
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
        if (chkAddToFavorites.Checked()) run_->AddToFavorites();
        if (chkStartMorlan.Checked()) StartProgram(session_, session_.MainExePath);
    }
    window.Close();
}

// One step of the run with the timer stopped, so a question or message of the step never lets a
// second step start; the timer runs again only while entries remain.
void TFrmMain::tmr1Timer() {
    tmr1.SetEnabled(false);
    if (!run_) throw ListIndexOutOfBounds(0);  // the file list was never loaded
    if (run_->Step()) tmr1.SetEnabled(true);
}

WindowHandle TFrmMain::RunView::Handle() const {
    return reinterpret_cast<WindowHandle>(frm_.window.Handle());
}

void TFrmMain::RunView::ShowCopyCaption(std::string_view caption) {
    frm_.lblNowCopyFile.SetCaption(std::string(caption));
    // The name shows while the file is unpacked and written, before the step returns.
    UpdateWindow(frm_.pnlPage3.Handle());
}

void TFrmMain::RunView::ShowFinishPage() {
    frm_.ShowPage(4);
    if (frm_.Outcome() != RunOutcome::Complete) frm_.ShowFailureForm();
}

void TFrmMain::RunView::SetProgressCaption(std::string_view caption) {
    frm_.lblProcessBarHint.SetCaption(std::string(caption));
}

void TFrmMain::RunView::ShowHint(const std::string& text) {
    frm_.lblHintSystem.SetCaption(text);
    frm_.lblHintSystem.SetVisible(true);
}

void TFrmMain::RunView::ShowMessage(const std::string& text) {
    frm_.session_.platform.dialogs.ShowPlain(text);
}

}  // namespace setup::ui
