// TFrmSetDir, the modal dialog "设置目录": a drive selector and a folder list kept in step, "确定",
// and a new-folder button (also in the list's context menu). Created once after the main window
// and reused; it keeps its drive and folder between showings.
#pragma once

#include <string>

#include "gui/form.h"
#include "gui/label.h"
#include "gui/standard_controls.h"
#include "platform/file_system.h"
#include "platform/win32/handles.h"
#include "platform/win32/win32_dialogs.h"
#include "ui/directory_chooser.h"

namespace setup::ui {

class TFrmSetDir final : public gui::Form, private DirectoryChooserView {
public:
    explicit TFrmSetDir(FileSystem& files);

    // drvcbb1's drive: another letter moves the list to that drive's current directory.
    void SetDrive(char letter) { chooser_.SetDrive(letter); }
    // Shows the dialog modal to owner and returns when it has closed, however it was closed.
    void ShowModal(HWND owner);
    const std::string& SelectedDir() const { return chooser_.SelectedDir(); }

    HWND DirectoryListHandle() const { return dirlst1.Handle(); }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

private:
    void FormCreate();
    void drvcbb1Change();
    void dirlst1Open();
    void btn1Click();
    void btnNewFolderClick() { chooser_.NewFolder(); }
    void N1Click() { chooser_.NewFolder(); }
    void ShowContextMenu(int x, int y);
    // Enter in the folder list opens the highlighted folder, as a double click does.
    bool PreTranslate(const MSG& message);

    std::string AskFolderName() override;
    void ShowMessage(const std::string& text) override;
    void Refresh() override;

    void DrawDriveItem(const DRAWITEMSTRUCT& item);
    void DrawFolderItem(const DRAWITEMSTRUCT& item);

    gui::Label lbl1;
    gui::ListBox dirlst1;  // first in the tab order
    gui::ComboBox drvcbb1;
    gui::PushButton btnNewFolder;
    gui::PushButton btn1;
    win32::UniqueMenu pm1;

    FileSystem& files_;
    Win32Dialogs dialogs_;
    DirectoryChooser chooser_;
    std::vector<char> drives_;
    bool closed_ = false;
};

}  // namespace setup::ui
