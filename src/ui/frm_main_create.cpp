// TFrmMain: the controls as the form file sets them, and the creation steps (skin, licence,
// button strips, pictures, file list, captions).
#include <utility>

#include "data/unpack.h"
#include "gui/errors.h"
#include "install/registry_records.h"
#include "ui/frm_main.h"
#include "ui/page_layout.h"

namespace setup::ui {

namespace {

constexpr COLORREF kKeyWhite = RGB(255, 255, 255);

gui::FontSpec RedWindowFont() {
    gui::FontSpec spec;
    spec.color = gui::clRed;
    return spec;
}

void SetUpButton(TUserButton& button, const std::string& caption, const gui::Bounds& bounds) {
    button.SetBounds(bounds);
    button.SetCaption(caption);
    button.SetHotKey1(controls::TMyHotCut::MhNone);
    button.SetHotKey2(controls::TMyHotCut::MhNone);
    button.SetBmpTransParent(true);
    button.SetBmpTransParentColor(kKeyWhite);
    button.SetTransparent(true);
}

// Labels take the size of their text, as the form's labels do; only the percentage keeps its
// design size so that it can centre its text.
void SetUpLabel(gui::Label& label, const std::string& caption, const gui::Bounds& bounds,
                const gui::FontSpec& font = {}) {
    label.SetTransparent(true);
    label.SetFont(font);
    label.SetBounds(bounds);
    label.SetAutoSize(true);
    label.SetCaption(caption);
}

}  // namespace

// The controls start at the places of the design layout (page_layout.cpp); FormResize lays them
// out again from the skin that FormCreate cuts.
TFrmMain::TFrmMain(Installation& installation)
    : window(kApplicationTitle),
      imgTopBack(window),
      btnWinClose(window),
      LblWelcome1(window),
      pnlPage1(window, DesignLayout().frame.panel),
      pnlPage2(window, DesignLayout().frame.panel),
      pnlPage3(window, DesignLayout().frame.panel),
      pnlPage4(window, DesignLayout().frame.panel),
      tmr1(window, 10, false),
      imgPage1BottomBack(pnlPage1),
      BtnAccept(pnlPage1),
      BtnCancel(pnlPage1),
      imgPage1CenterBack(pnlPage1),
      LblHintDir(pnlPage1),
      chkQuestion(pnlPage1, DesignLayout().page1.chkQuestion, "我已经阅读并同意软件许可协议"),
      redtRead(pnlPage1, DesignLayout().page1.redtRead),
      imgPage2BottomBack(pnlPage2),
      imgPage2CenterBack(pnlPage2),
      lblDirHint(pnlPage2),
      BtnSetDir(pnlPage2),
      BtnNext(pnlPage2),
      BtnCancelPage2(pnlPage2),
      lblHintSystem(pnlPage2),
      lblHint1(pnlPage2),
      btnDatPath(pnlPage2),
      lblHint2(pnlPage2),
      EditDir(pnlPage2, DesignLayout().page2.EditDir, "C:\\Program Files"),
      chkAddToDesk(pnlPage2, DesignLayout().page2.chkAddToDesk, "添加桌面快捷方式"),
      chkAddToQuickBar(pnlPage2, DesignLayout().page2.chkAddToQuickBar, "添加到快速启动"),
      chkStartWindows(pnlPage2, DesignLayout().page2.chkStartWindows, ""),
      edtDatPath(pnlPage2, DesignLayout().page2.edtDatPath, "D:\\Tessik软件用户数据"),
      imgPage3BottomBack(pnlPage3),
      imgPage3CenterBack(pnlPage3),
      BtnCancelPage3(pnlPage3),
      imgProcessBarBack(pnlPage3),
      imgProcessBar(pnlPage3),
      lblProcessBarHint(pnlPage3),
      lblNowCopyFile(pnlPage3),
      imgPage4BottomBack(pnlPage4),
      imgPage4CenterBack(pnlPage4),
      BtnComplete(pnlPage4),
      lblHintCancel(pnlPage4),
      lblFailedFiles(pnlPage4),
      lblRestartHint(pnlPage4),
      chkStartMorlan(pnlPage4, DesignLayout().page4.chkStartMorlan, ""),
      chkAddToFavorites(pnlPage4, DesignLayout().page4.chkAddToFavorites, ""),
      memFailedFiles(pnlPage4, DesignLayout().page4.memFailedFiles),
      installation_(installation),
      resources_(installation.Platform().resources) {
    installation_.SetObserver(&view_);
    window.SetMainForm(true);
    SetDesignProperties();
    ConnectEvents();
    gui::RunReportingErrors(window.Handle(), [&] { FormCreate(); });
}

TFrmMain::~TFrmMain() {
    installation_.SetObserver(nullptr);
}

void TFrmMain::SetDesignProperties() {
    const FormLayout& d = DesignLayout();
    imgTopBack.SetBounds(d.imgTopBack);
    SetUpButton(btnWinClose, "", d.btnWinClose);
    btnWinClose.SetTransparent(false);
    SetUpLabel(LblWelcome1, "请选择安装目录", d.LblWelcome1);
    pnlPage2.SetVisible(false);
    pnlPage3.SetVisible(false);
    pnlPage4.SetVisible(false);

    imgPage1BottomBack.SetBounds(d.frame.bottom);
    SetUpButton(BtnAccept, "同意", d.page1.BtnAccept);
    BtnAccept.SetEnabled(false);
    SetUpButton(BtnCancel, "取消", d.page1.BtnCancel);
    imgPage1CenterBack.SetBounds(d.frame.center);
    SetUpLabel(LblHintDir, "请选择安装目录", d.page1.LblHintDir);
    chkQuestion.SetState(controls::CheckBoxState::Unchecked);
    chkQuestion.SetChecked(false);
    redtRead.SetFont(gui::SongFont(12, GB2312_CHARSET));

    imgPage2BottomBack.SetBounds(d.frame.bottom);
    imgPage2CenterBack.SetBounds(d.frame.center);
    SetUpLabel(lblDirHint, "请选择安装目录", d.page2.lblDirHint);
    SetUpButton(BtnSetDir, "浏览...", d.page2.BtnSetDir);
    SetUpButton(BtnNext, "下一步", d.page2.BtnNext);
    SetUpButton(BtnCancelPage2, "取消", d.page2.BtnCancelPage2);
    SetUpLabel(lblHintSystem, "", d.page2.lblHintSystem, RedWindowFont());
    lblHintSystem.SetVisible(false);
    SetUpLabel(lblHint1, "请选择数据库保存位置(请存放在和安装目录不一样的位置)", d.page2.lblHint1);
    SetUpButton(btnDatPath, "设置...", d.page2.btnDatPath);
    SetUpLabel(lblHint2, "", d.page2.lblHint2, RedWindowFont());
    lblHint2.SetVisible(false);
    EditDir.SetFont(gui::SongFont(14));
    for (TFlatCheckBox* box : {&chkAddToDesk, &chkAddToQuickBar, &chkStartWindows}) {
        box->SetState(controls::CheckBoxState::Checked);
        box->SetChecked(true);
    }
    edtDatPath.SetFont(gui::SongFont(14));

    imgPage3BottomBack.SetBounds(d.frame.bottom);
    imgPage3CenterBack.SetBounds(d.frame.center);
    SetUpButton(BtnCancelPage3, "取消", d.page3.BtnCancelPage3);
    imgProcessBarBack.SetBounds(d.page3.imgProcessBarBack);
    imgProcessBarBack.SetTransparent(true);
    imgProcessBar.SetBounds(d.page3.imgProcessBar);
    lblProcessBarHint.SetTransparent(true);
    lblProcessBarHint.SetBounds(d.page3.lblProcessBarHint);
    lblProcessBarHint.SetAlignment(gui::Alignment::Center);
    lblProcessBarHint.SetCaption("0%");
    SetUpLabel(lblNowCopyFile, "复制文件：", d.page3.lblNowCopyFile);

    imgPage4BottomBack.SetBounds(d.frame.bottom);
    imgPage4CenterBack.SetBounds(d.frame.center);
    SetUpButton(BtnComplete, "完成", d.page4.BtnComplete);
    SetUpLabel(lblHintCancel, "安装未能成功！", d.page4.lblHintCancel, gui::SongFont(12));
    lblHintCancel.SetVisible(false);
    SetUpLabel(lblFailedFiles, "", d.page4.lblFailedFiles, gui::SongFont(12));
    lblFailedFiles.SetVisible(false);
    SetUpLabel(lblRestartHint, kRestartHint, d.page4.lblRestartHint, gui::SongFont(12));
    lblRestartHint.SetVisible(false);
    memFailedFiles.SetFont(gui::SongFont(12, GB2312_CHARSET));
    memFailedFiles.SetVisible(false);
    for (TFlatCheckBox* box : {&chkStartMorlan, &chkAddToFavorites}) {
        box->SetState(controls::CheckBoxState::Checked);
        box->SetChecked(true);
    }
}

// Events are connected after the check boxes got their states, so creation fires no click.
void TFrmMain::ConnectEvents() {
    auto mouse = [this](void (TFrmMain::*handler)(gui::MouseButton, gui::ShiftState, int, int)) {
        return [this, handler](gui::MouseButton b, gui::ShiftState s, int x, int y) {
            (this->*handler)(b, s, x, y);
        };
    };
    window.OnResize = [this] { FormResize(); };
    // The window is centred once, with the size FormShow gave it, before it becomes visible.
    window.OnShow = [this] {
        FormShow();
        if (!shown_) CenterOnDesktop();
        shown_ = true;
    };
    tmr1.OnTimer = [this] { tmr1Timer(); };
    copying_.OnStep = [this] { return installation_.Step(); };
    copying_.OnPause = [this] { ShowPendingCaption(); };
    // A closed window ends the message loop: no step may keep the queue busy after it.
    window.OnClose = [this] { copying_.Stop(); };
    // The records and links are written whole: the window stays until they are.
    window.OnCloseQuery = [this] { return !installation_.RecordsUnderway(); };

    imgTopBack.OnMouseDown = mouse(&TFrmMain::imgTopBackMouseDown);
    for (gui::Image* center : {&imgPage1CenterBack, &imgPage2CenterBack, &imgPage3CenterBack,
                               &imgPage4CenterBack, &imgProcessBarBack, &imgProcessBar})
        center->OnMouseDown = mouse(&TFrmMain::imgPage1CenterBackMouseDown);
    for (gui::Image* bottom :
         {&imgPage1BottomBack, &imgPage2BottomBack, &imgPage3BottomBack, &imgPage4BottomBack})
        bottom->OnMouseDown = mouse(&TFrmMain::imgPage1BottomBackMouseDown);

    btnWinClose.OnMouseUp = mouse(&TFrmMain::btnWinCloseMouseUp);
    BtnAccept.OnMouseUp = mouse(&TFrmMain::BtnAcceptMouseUp);
    BtnCancel.OnMouseUp = mouse(&TFrmMain::BtnCancelMouseUp);
    BtnSetDir.OnMouseUp = mouse(&TFrmMain::BtnSetDirMouseUp);
    BtnNext.OnMouseUp = mouse(&TFrmMain::BtnNextMouseUp);
    BtnCancelPage2.OnMouseUp = mouse(&TFrmMain::BtnCancelPage2MouseUp);
    btnDatPath.OnMouseUp = mouse(&TFrmMain::btnDatPathMouseUp);
    BtnCancelPage3.OnMouseUp = mouse(&TFrmMain::BtnCancelPage3MouseUp);
    BtnComplete.OnMouseUp = mouse(&TFrmMain::BtnCompleteMouseUp);

    for (TFlatCheckBox* box : {&chkQuestion, &chkAddToDesk, &chkAddToQuickBar, &chkStartWindows,
                               &chkStartMorlan, &chkAddToFavorites})
        box->OnClick = [this] { chkQuestionClick(); };
}

void TFrmMain::FormCreate() {
    window.SetDoubleBuffered(true);
    for (gui::Panel* panel : {&pnlPage1, &pnlPage2, &pnlPage3, &pnlPage4})
        panel->SetDoubleBuffered(true);
    CurrentPage = 1;
    for (auto& piece : pieces_) piece = std::make_shared<gui::Bitmap>();
    LoadSkin();
    FormResize();

    const gui::Bitmap& strip = Piece(SkinPiece::Btn);
    BtnAccept.LoadFromStrip(strip);
    BtnCancel.LoadFromStrip(strip);
    btnWinClose.LoadFromStrip(Piece(SkinPiece::BtnClose));
    for (TUserButton* button :
         {&BtnSetDir, &BtnNext, &BtnCancelPage2, &BtnCancelPage3, &BtnComplete, &btnDatPath})
        button->LoadFromStrip(strip);

    imgPage1CenterBack.SetPicture(SharedPiece(SkinPiece::FrmCenter1Back));
    imgPage2CenterBack.SetPicture(SharedPiece(SkinPiece::FrmCenter2Back));
    imgPage3CenterBack.SetPicture(SharedPiece(SkinPiece::FrmCenter3Back));
    imgPage4CenterBack.SetPicture(SharedPiece(SkinPiece::FrmCenter4Back));
    for (gui::Image* bottom :
         {&imgPage1BottomBack, &imgPage2BottomBack, &imgPage3BottomBack, &imgPage4BottomBack})
        bottom->SetPicture(SharedPiece(SkinPiece::FrmBottomBack));

    // No title bar and no frame: the skin draws the whole window.
    const LONG style = GetWindowLongA(window.Handle(), GWL_STYLE);
    SetWindowLongA(window.Handle(), GWL_STYLE, style & ~WS_CAPTION);
    SetWindowPos(window.Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);

    // The file list, FileIndex 0 and InstallFinished false: the installation read them already.

    lblHint1.SetVisible(false);
    edtDatPath.SetVisible(false);
    btnDatPath.SetVisible(false);

    const ProductStrings& strings = Strings();
    chkStartWindows.SetCaption("开机启动" + strings.SoftSysName);
    chkStartMorlan.SetCaption("启动" + strings.SoftSysName);
    chkAddToFavorites.SetCaption("将" + strings.Company + "官网(" + kMakerWebHost +
                                 ")添加到收藏夹");
}

void TFrmMain::LoadSkin() {
    {
        const gui::Bitmap atlas =
            gui::ReadBmp(UnpackNamedResource(resources_, kSkinResourceType, kSkinResourceName));
        // The table as the installation read it; a line that stopped the reading stops the
        // creation here, with the pieces before it cut.
        const SetupSettings& settings = installation_.Settings();
        for (int i = 0; i < kSkinPieceCount; ++i)
            if (const std::optional<PieceRect>& rect = settings.pieces[i])
                CutPiece(static_cast<SkinPiece>(i), atlas, *rect);
        if (settings.error) throw *settings.error;
    }  // the atlas and its unpacked bytes go here
    imgTopBack.SetPicture(SharedPiece(SkinPiece::FrmTop1Back));
    const std::vector<std::uint8_t> licence =
        UnpackNamedResource(resources_, kLicenceResourceType, kLicenceResourceName);
    redtRead.SetPlainText(TextUpToNul(licence));
}

void TFrmMain::CutPiece(SkinPiece piece, const gui::Bitmap& atlas, const PieceRect& rect) {
    auto cut = std::make_shared<gui::Bitmap>(rect.w, rect.h);
    cut->CopyFrom(atlas, rect.x, rect.y, rect.w, rect.h, 0, 0);
    pieces_[static_cast<int>(piece)] = std::move(cut);
}

const gui::Bitmap& TFrmMain::Piece(SkinPiece piece) const {
    static const gui::Bitmap kNone;
    const auto& p = pieces_[static_cast<int>(piece)];
    return p ? *p : kNone;
}

std::shared_ptr<const gui::Bitmap> TFrmMain::SharedPiece(SkinPiece piece) const {
    return pieces_[static_cast<int>(piece)];
}

}  // namespace setup::ui
