#include "ui/directory_chooser.h"

#include "platform/text.h"

namespace setup {

namespace {

char UpperLetter(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

DirectoryChooser::DirectoryChooser(FileSystem& files, DirectoryChooserView& view)
    : files_(files), view_(view), list_(files) {
    list_.OnChange = [this] { dirlst1Change(); };
}

void DirectoryChooser::FormCreate() {
    selected_dir_ = "C:\\";
    list_.ShowCurrent();
    if (!list_.Directory().empty()) drive_ = UpperLetter(list_.Directory()[0]);
    SetDrive('C');
}

void DirectoryChooser::SetDrive(char letter) {
    letter = UpperLetter(letter);
    if (letter == drive_) return;
    // On success the list reports the change and the selector follows it; on failure the
    // selector goes back to the list's drive.
    if (!list_.MoveTo(files_.DriveCurrentDirectory(letter))) view_.Refresh();
}

void DirectoryChooser::dirlst1Change() {
    selected_dir_ = list_.Directory();
    if (!selected_dir_.empty()) drive_ = UpperLetter(selected_dir_[0]);
    view_.Refresh();
}

void DirectoryChooser::Confirm() {
    selected_dir_ = list_.Directory();
}

void DirectoryChooser::NewFolder() {
    const std::string name = view_.AskFolderName();
    if (text::Trim(name).empty()) return;
    std::string path = list_.Directory();
    if (path.empty() || text::FindLastChar(path, '\\') != path.size() - 1) path += '\\';
    path += name;
    if (files_.DirectoryExists(path)) {
        view_.ShowMessage("该文件夹已经存在！");
        return;
    }
    // A folder that cannot be made leaves the list where it was (the move below fails).
    (void)files_.MakeDirectory(path);
    list_.Rebuild();
    list_.MoveTo(path);
}

}  // namespace setup
