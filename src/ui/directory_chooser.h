// What the directory chooser does, apart from its window: the drive selector and the folder list
// kept in step, the directory handed back, and the new-folder flow.
#pragma once

#include <string>

#include "platform/file_system.h"
#include "ui/directory_list.h"

namespace setup {

// The chooser's window, as the logic needs it.
class DirectoryChooserView {
public:
    virtual ~DirectoryChooserView() = default;
    // The input box "创建文件夹"; cancelling it gives the empty default.
    virtual std::string AskFolderName() = 0;
    // The plain message box with the application title.
    virtual void ShowMessage(const std::string& text) = 0;
    // The drive or the list changed: show them again.
    virtual void Refresh() = 0;
};

class DirectoryChooser {
public:
    DirectoryChooser(FileSystem& files, DirectoryChooserView& view);

    // FormCreate: SelectedDir "C:\", then drive C. The list starts at the process's current
    // directory; only when that lies on another drive does setting drive C move the list, and
    // only then does SelectedDir follow.
    void FormCreate();

    // The drive selector: choosing another drive moves the list to that drive's current directory.
    // A drive the system refuses (no medium, say) leaves the list where it was.
    void SetDrive(char letter);
    char Drive() const { return drive_; }

    DirectoryList& List() { return list_; }

    // btn1Click: hands back the list's current directory.
    void Confirm();

    // btnNewFolderClick and N1Click.
    void NewFolder();

    const std::string& SelectedDir() const { return selected_dir_; }

private:
    void dirlst1Change();

    FileSystem& files_;
    DirectoryChooserView& view_;
    DirectoryList list_;
    std::string selected_dir_;
    char drive_ = '\0';
};

}  // namespace setup
