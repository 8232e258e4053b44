// What the installation shows in, and reads from, the main window. The window implements this;
// the tests use a recording double.
#pragma once

#include <string_view>

#include "platform/window_handle.h"

namespace setup {

class InstallWindow {
public:
    virtual ~InstallWindow() = default;

    // The main window: owner of started programs and of the shell's folder lookups.
    virtual WindowHandle Handle() const = 0;
    // Sets the caption of lblNowCopyFile and repaints the label at once, so the name shows while
    // the file is unpacked and written.
    virtual void ShowCopyCaption(std::string_view caption) = 0;
    // The progress bar of page 3 (DrawProgress) and the caption of lblProcessBarHint.
    virtual void DrawProgress(double fraction) = 0;
    virtual void SetProgressCaption(std::string_view caption) = 0;
    // The options of page 2, read at the moment their task runs.
    virtual bool AddToDeskChecked() const = 0;
    virtual bool AddToQuickBarChecked() const = 0;
    virtual bool StartWindowsChecked() const = 0;
    // ShowPage(4).
    virtual void ShowFinishPage() = 0;
};

}  // namespace setup
