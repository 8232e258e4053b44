#include "ui/frm_set_dir.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include "platform/win32/input_box.h"

namespace setup::ui {

namespace {

constexpr UINT kNewFolderCommand = 1;
constexpr int kIndent = 12;

// Icons of the system image list, which belongs to the shell: nothing to release.
int SystemIcon(const std::string& path, DWORD attributes, UINT flags, HIMAGELIST* list) {
    SHFILEINFOA info{};
    *list =
        reinterpret_cast<HIMAGELIST>(SHGetFileInfoA(path.c_str(), attributes, &info, sizeof info,
                                                    SHGFI_SYSICONINDEX | SHGFI_SMALLICON | flags));
    return *list ? info.iIcon : -1;
}

void DrawIcon(HDC dc, const std::string& path, DWORD attributes, UINT flags, int x, int y) {
    HIMAGELIST list = nullptr;
    int icon = SystemIcon(path, attributes, flags, &list);
    if (list && icon >= 0) ImageList_Draw(list, icon, dc, x, y, ILD_TRANSPARENT);
}

std::string DriveText(char letter) {
    const std::string root{letter, ':', '\\'};
    char label[MAX_PATH + 1] = {};
    // A drive without a medium has no label; asking must not bring up a system error box.
    UINT old_mode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    BOOL has_label = GetVolumeInformationA(root.c_str(), label, sizeof label, nullptr, nullptr,
                                           nullptr, nullptr, 0);
    SetErrorMode(old_mode);
    std::string text{static_cast<char>(letter - 'A' + 'a'), ':'};
    if (has_label && label[0]) text += std::string(" [") + label + "]";
    return text;
}

}  // namespace

TFrmSetDir::TFrmSetDir(FileSystem& files)
    : gui::Form("设置目录"),
      lbl1(*this),
      dirlst1(*this, {16, 71, 345, 193}, 16),
      drvcbb1(*this, {16, 39, 345, 20}, 16),
      btnNewFolder(*this, {16, 276, 105, 25}, "新建文件夹"),
      btn1(*this, {280, 276, 75, 25}, "确定"),
      pm1(CreatePopupMenu()),
      files_(files),
      chooser_(files, *this) {
    // A dialog border: fixed size, no minimise or maximise box.
    SetWindowLongA(Handle(), GWL_STYLE, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN);
    SetWindowLongA(Handle(), GWL_EXSTYLE, WS_EX_DLGMODALFRAME);
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    SetClientWidth(376);
    SetClientHeight(314);
    dialogs_.SetOwner(reinterpret_cast<WindowHandle>(Handle()));

    lbl1.SetBounds({16, 15, 129, 13});
    lbl1.SetCaption("选择目录：");
    drvcbb1.SetFont(gui::SongFont(14, GB2312_CHARSET));
    dirlst1.SetFont(gui::SongFont(12, GB2312_CHARSET));
    AppendMenuA(pm1.get(), MF_STRING, kNewFolderCommand, "新建文件夹");
    OnClose = [this] { closed_ = true; };
    FormCreate();
}

void TFrmSetDir::FormCreate() {
    drives_ = files_.DriveLetters();
    drvcbb1.Clear();
    for (char letter : drives_) drvcbb1.Add(DriveText(letter));
    chooser_.FormCreate();
}

void TFrmSetDir::ShowModal(HWND owner) {
    // Owned by the main window, so it stays above it; the main window takes no input meanwhile.
    SetWindowLongPtrA(Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    const int left =
        GetSystemMetrics(SM_XVIRTUALSCREEN) + (GetSystemMetrics(SM_CXVIRTUALSCREEN) - Width()) / 2;
    const int top =
        GetSystemMetrics(SM_YVIRTUALSCREEN) + (GetSystemMetrics(SM_CYVIRTUALSCREEN) - Height()) / 2;
    SetPosition(left, top);
    if (owner) EnableWindow(owner, FALSE);
    closed_ = false;
    Show();
    SetFocus(dirlst1.Handle());

    MSG message;
    bool quit = false;
    while (!closed_) {
        if (GetMessageA(&message, nullptr, 0, 0) <= 0) {
            quit = true;
            break;
        }
        if (PreTranslate(message) || IsDialogMessageA(Handle(), &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    if (owner) {
        EnableWindow(owner, TRUE);
        SetActiveWindow(owner);
    }
    if (!closed_) Close();
    if (quit) PostQuitMessage(static_cast<int>(message.wParam));
}

bool TFrmSetDir::PreTranslate(const MSG& message) {
    if (message.message != WM_KEYDOWN || message.wParam != VK_RETURN) return false;
    if (message.hwnd != dirlst1.Handle()) return false;
    dirlst1Open();
    return true;
}

void TFrmSetDir::drvcbb1Change() {
    const int index = drvcbb1.ItemIndex();
    if (index >= 0 && index < static_cast<int>(drives_.size())) chooser_.SetDrive(drives_[index]);
}

void TFrmSetDir::dirlst1Open() {
    chooser_.List().OpenItem(dirlst1.ItemIndex());
}

void TFrmSetDir::btn1Click() {
    chooser_.Confirm();
    Close();
}

void TFrmSetDir::ShowContextMenu(int x, int y) {
    if (x == -1 && y == -1) {  // from the keyboard: below the list's top-left corner
        POINT corner{0, 0};
        ClientToScreen(dirlst1.Handle(), &corner);
        x = corner.x;
        y = corner.y;
    }
    UINT command =
        TrackPopupMenu(pm1.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, 0, Handle(), nullptr);
    if (command == kNewFolderCommand) N1Click();
}

std::string TFrmSetDir::AskFolderName() {
    return win32::InputBox(Handle(), "创建文件夹", "请输入文件夹名称：", "");
}

void TFrmSetDir::ShowMessage(const std::string& text) {
    dialogs_.ShowPlain(text);
}

void TFrmSetDir::Refresh() {
    for (std::size_t i = 0; i < drives_.size(); ++i)
        if (drives_[i] == chooser_.Drive()) drvcbb1.SetItemIndex(static_cast<int>(i));
    SendMessageA(dirlst1.Handle(), WM_SETREDRAW, FALSE, 0);
    dirlst1.Clear();
    for (const DirectoryItem& item : chooser_.List().Items()) dirlst1.Add(item.name);
    dirlst1.SetItemIndex(chooser_.List().CurrentIndex());
    SendMessageA(dirlst1.Handle(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(dirlst1.Handle(), nullptr, TRUE);
}

void TFrmSetDir::DrawDriveItem(const DRAWITEMSTRUCT& item) {
    const bool selected = item.itemState & ODS_SELECTED;
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (item.itemID >= drives_.size()) return;
    const char letter = drives_[item.itemID];
    const RECT& r = item.rcItem;
    DrawIcon(item.hDC, std::string{letter, ':', '\\'}, 0, 0, r.left + 2,
             r.top + (r.bottom - r.top - 16) / 2);
    RECT text = r;
    text.left += 22;
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    std::string caption = DriveText(letter);
    DrawTextA(item.hDC, caption.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

void TFrmSetDir::DrawFolderItem(const DRAWITEMSTRUCT& item) {
    const bool selected = item.itemState & ODS_SELECTED;
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    const auto& items = chooser_.List().Items();
    if (item.itemID >= items.size()) return;
    const DirectoryItem& folder = items[item.itemID];
    const RECT& r = item.rcItem;
    const int x = r.left + 2 + folder.level * kIndent;
    if (folder.level == 0)
        DrawIcon(item.hDC, folder.name, 0, 0, x, r.top);
    else
        DrawIcon(item.hDC, "folder", FILE_ATTRIBUTE_DIRECTORY,
                 SHGFI_USEFILEATTRIBUTES | (folder.open ? SHGFI_OPENICON : 0), x, r.top);
    RECT text = r;
    text.left = x + 20;
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    DrawTextA(item.hDC, folder.name.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &text);
}

LRESULT TFrmSetDir::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_COMMAND: {
            const HWND from = reinterpret_cast<HWND>(lparam);
            const WORD code = HIWORD(wparam);
            if (from == btn1.Handle() && code == BN_CLICKED)
                btn1Click();
            else if (from == btnNewFolder.Handle() && code == BN_CLICKED)
                btnNewFolderClick();
            else if (from == drvcbb1.Handle() && code == CBN_SELCHANGE)
                drvcbb1Change();
            else if (from == dirlst1.Handle() && code == LBN_DBLCLK)
                dirlst1Open();
            return 0;
        }
        case WM_DRAWITEM: {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
            if (item.hwndItem == drvcbb1.Handle())
                DrawDriveItem(item);
            else if (item.hwndItem == dirlst1.Handle())
                DrawFolderItem(item);
            return TRUE;
        }
        case WM_CONTEXTMENU:
            if (reinterpret_cast<HWND>(wparam) == dirlst1.Handle()) {
                ShowContextMenu(GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
                return 0;
            }
            break;
    }
    return gui::Form::HandleMessage(message, wparam, lparam);
}

}  // namespace setup::ui
