// TFrmMain: the installer's one main window. Borderless and skinned, it carries the four wizard
// pages on four panels of which one is visible at a time: the licence, the directory and
// options, the copying with its progress bar, the finish. Everything it shows apart from texts,
// edits and check boxes is cut from one skin bitmap in its resources.
//
// The controls are public members named as the form has always named them, declared in their
// stacking order: on each parent the windowless ones (images, labels, bitmap buttons) are
// painted in declaration order; panels, edits, the rich edit and check boxes are windows over them.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "controls/flat_check_box.h"
#include "controls/user_button.h"
#include "data/settings.h"
#include "gui/bitmap.h"
#include "gui/child_window.h"
#include "gui/form.h"
#include "gui/image.h"
#include "gui/label.h"
#include "gui/step_chain.h"
#include "gui/timer.h"
#include "install/installation.h"
#include "platform/application_title.h"
#include "platform/resources.h"
#include "ui/page_flow.h"
#include "ui/path_check.h"

namespace setup::ui {

// Page 4's line for an installation whose last files take their place at the next restart.
inline constexpr char kRestartHint[] = "部分文件正在使用，重新启动计算机后安装才能完成。";

using controls::TFlatCheckBox;
using controls::TUserButton;

class TFrmSetDir;

// What the program chose for the wizard before it shows: page 2's folder and options instead of
// the previous installation's folder and all three ticked, and copying without a cancel.
struct WizardPresets {
    std::optional<std::string> folder;
    std::optional<InstallOptions> options;
    bool no_cancel = false;
};

// How long one message of the run may keep stepping before the window looks at its queue again.
inline constexpr double kStepBudgetMs = 10.0;
// How long one step waits for a large entry that is written on its own thread before the chain
// goes on (and looks at the queue when its budget is used).
inline constexpr double kLargeEntryWaitMs = 2.0;

class TFrmMain {
public:
    // Creates the window hidden and runs FormCreate; an error there is shown in a message box
    // and the window keeps the state reached. The window is the main form: closing it ends the
    // message loop. It drives the installation it is given and watches it while it lives.
    explicit TFrmMain(Installation& installation);
    ~TFrmMain();
    TFrmMain(const TFrmMain&) = delete;
    TFrmMain& operator=(const TFrmMain&) = delete;

    HWND Handle() const { return window.Handle(); }
    // Takes effect when the window shows (page 2) and when copying starts (no cancel).
    void UsePresets(WizardPresets presets) { presets_ = std::move(presets); }
    // Runs FormShow, centres the window on the desktop the first time, and makes it visible.
    void Show();

    // Creation, show and layout.
    void FormCreate();
    void FormShow();
    void FormResize();
    void LoadSkin();
    void CutPiece(SkinPiece piece, const gui::Bitmap& atlas, const PieceRect& rect);
    void LayoutPage();
    void ApplyWindowRegion();
    void DrawProgress(double fraction);
    void ShowPage(int page);
    // The one place where pages change: the page the flow gives for an event, if any.
    void Go(FlowEvent event);
    // Starts the copying: the installation's run, stepped by copying_ from the first tick of tmr1.
    void StartCopying();
    // The page-3 look alone, for a run without the wizard that someone else drives: no cancel or
    // close button, the options ticked as given, and the end of the run changes no page.
    void ShowProgressOnly(const InstallOptions& options);
    // What the installation shows in this window; a log observer passes it on.
    InstallObserver& View() { return view_; }
    void StartWindowDrag();
    // Fills EditDir and BrowseDrive at show time from the previous installation's record.
    void ReadPreviousPath();

    // Event handlers. The mouse button, shift state and position are not looked at.
    void imgTopBackMouseDown(gui::MouseButton, gui::ShiftState, int, int);
    void imgPage1CenterBackMouseDown(gui::MouseButton, gui::ShiftState, int, int);
    void imgPage1BottomBackMouseDown(gui::MouseButton, gui::ShiftState, int, int);
    void btnWinCloseMouseUp(gui::MouseButton, gui::ShiftState, int, int);
    void BtnCancelMouseUp(gui::MouseButton, gui::ShiftState, int, int);
    void BtnCancelPage2MouseUp(gui::MouseButton, gui::ShiftState, int, int);
    void chkQuestionClick();
    void BtnAcceptMouseUp(gui::MouseButton, gui::ShiftState, int, int);
    // The page flow: next with the path check, browse, data browse, cancel while copying,
    // finish, and the extraction run's steps from a tick of the timer.
    void BtnNextMouseUp(gui::MouseButton, gui::ShiftState, int, int);
    void BtnSetDirMouseUp(gui::MouseButton, gui::ShiftState, int, int);
    void btnDatPathMouseUp(gui::MouseButton, gui::ShiftState, int, int);
    void BtnCancelPage3MouseUp(gui::MouseButton, gui::ShiftState, int, int);
    void BtnCompleteMouseUp(gui::MouseButton, gui::ShiftState, int, int);
    void tmr1Timer();

    // The piece cut for a setting; an empty bitmap until LoadSkin has cut it.
    const gui::Bitmap& Piece(SkinPiece piece) const;

    // Window state. The paths of page 2, BrowseDrive, the payload list, its progress,
    // FavoritesEntry and InstallFinished belong to the installation.
    int CurrentPage = 1;
    double LastProgress = 0;
    int LastBarWidth = -1;  // the width of the bar bitmap drawn last; -1 before the first
    Installation& Install() { return installation_; }
    const ProductStrings& Strings() const { return installation_.Strings(); }
    bool InstallFinished() const { return installation_.InstallFinished(); }
    RunOutcome Outcome() const { return installation_.Outcome(); }

    // The directory chooser, created after this window (the program sets it).
    TFrmSetDir* FrmSetDir = nullptr;

    // The window and its controls, in stacking order.
    gui::Form window;
    gui::Image imgTopBack;
    TUserButton btnWinClose;
    gui::Label LblWelcome1;
    gui::Panel pnlPage1, pnlPage2, pnlPage3, pnlPage4;
    gui::Timer tmr1;

    gui::Image imgPage1BottomBack;
    TUserButton BtnAccept, BtnCancel;
    gui::Image imgPage1CenterBack;
    gui::Label LblHintDir;
    TFlatCheckBox chkQuestion;
    gui::RichEdit redtRead;

    gui::Image imgPage2BottomBack, imgPage2CenterBack;
    gui::Label lblDirHint;
    TUserButton BtnSetDir, BtnNext, BtnCancelPage2;
    gui::Label lblHintSystem, lblHint1;
    TUserButton btnDatPath;
    gui::Label lblHint2;
    gui::Edit EditDir;
    TFlatCheckBox chkAddToDesk, chkAddToQuickBar, chkStartWindows;
    gui::Edit edtDatPath;

    gui::Image imgPage3BottomBack, imgPage3CenterBack;
    TUserButton BtnCancelPage3;
    gui::Image imgProcessBarBack, imgProcessBar;
    gui::Label lblProcessBarHint, lblNowCopyFile;

    gui::Image imgPage4BottomBack, imgPage4CenterBack;
    TUserButton BtnComplete;
    gui::Label lblHintCancel, lblFailedFiles, lblRestartHint;
    TFlatCheckBox chkStartMorlan, chkAddToFavorites;
    gui::Memo memFailedFiles;

private:
    void SetDesignProperties();
    void ConnectEvents();
    void CenterOnDesktop();
    void LayoutTitle(int page);
    void LayoutPage1(const gui::Bounds& panel);
    void LayoutPage2(const gui::Bounds& panel);
    void LayoutPage3(const gui::Bounds& panel);
    void LayoutPage4(const gui::Bounds& panel);
    void BuildProgressFrame();
    // Page 4 for a run that did not install everything: no options, the reason, and the files
    // that are missing.
    void ShowFailureForm();
    // The one line of a complete page 4 whose files are in place only after a restart.
    void ShowRestartHint();
    // The name of the file being copied, once the steps pause or a large file is written.
    void ShowPendingCaption();
    std::shared_ptr<const gui::Bitmap> SharedPiece(SkinPiece piece) const;
    void Browse(gui::Edit& edit);

    // What the installation and the path check show in, and read from, this window.
    class RunView final : public InstallObserver, public PathCheckView {
    public:
        explicit RunView(TFrmMain& frm) : frm_(frm) {}
        WindowHandle Owner() const override;
        void ShowCopyCaption(std::string_view caption) override;
        void LongCopyUnderway() override;
        void ShowProgress(double fraction, std::string_view caption) override;
        InstallOptions Options() const override;
        void RunEnded() override;

        std::string EditDirText() const override { return frm_.EditDir.Text(); }
        void SetEditDirText(const std::string& text) override { frm_.EditDir.SetText(text); }
        void ShowHint(const std::string& text) override;
        void HideHint() override { frm_.lblHintSystem.SetVisible(false); }
        void ShowMessage(const std::string& text) override;

    private:
        TFrmMain& frm_;
    };

    Installation& installation_;
    const Resources& resources_;
    RunView view_{*this};
    // The run's steps, one after another as long as no input waits; tmr1 brings the first.
    gui::StepChain copying_{window, tmr1, kStepBudgetMs};
    std::array<std::shared_ptr<gui::Bitmap>, kSkinPieceCount> pieces_;
    bool shown_ = false;
    bool progress_only_ = false;
    WizardPresets presets_;
    std::string pending_caption_;
    bool caption_pending_ = false;
};

}  // namespace setup::ui
