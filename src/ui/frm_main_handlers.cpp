// TFrmMain: event handlers of the window's controls.
#include "ui/frm_main.h"

namespace setup::ui {

// A press on the top bar or on any page background moves the window, as a title bar would.
void TFrmMain::StartWindowDrag() {
    RECT r{};
    GetWindowRect(window.Handle(), &r);
    // The outer 3 pixels lie outside the outline: at -3 the visible edge meets the screen's top.
    if (r.top <= 0) window.SetPosition(r.left, -3);
    ReleaseCapture();
    SendMessageA(window.Handle(), WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
}

void TFrmMain::imgTopBackMouseDown(gui::MouseButton, gui::ShiftState, int, int) {
    StartWindowDrag();
}

void TFrmMain::imgPage1CenterBackMouseDown(gui::MouseButton, gui::ShiftState, int, int) {
    StartWindowDrag();
}

void TFrmMain::imgPage1BottomBackMouseDown(gui::MouseButton, gui::ShiftState, int, int) {
    StartWindowDrag();
}

void TFrmMain::btnWinCloseMouseUp(gui::MouseButton, gui::ShiftState, int, int) {
    window.Close();
}

void TFrmMain::BtnCancelMouseUp(gui::MouseButton, gui::ShiftState, int, int) {
    window.Close();
}

void TFrmMain::BtnCancelPage2MouseUp(gui::MouseButton, gui::ShiftState, int, int) {
    window.Close();
}

// Serves all six check boxes: only the agree box decides whether the accept button works.
void TFrmMain::chkQuestionClick() {
    BtnAccept.SetEnabled(chkQuestion.Checked());
}

void TFrmMain::BtnAcceptMouseUp(gui::MouseButton, gui::ShiftState, int, int) {
    Go(FlowEvent::LicenceAccepted);
}

}  // namespace setup::ui
