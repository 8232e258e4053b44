// What an installation shows as it goes, and what it asks of whoever drives it: the wizard's
// window, or nothing at all in an unattended run. It knows nothing of pages.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/window_handle.h"

namespace setup {

// The options of page 2 (or of the command line).
struct InstallOptions {
    bool desktop_links = true;      // chkAddToDesk
    bool quick_launch_link = true;  // chkAddToQuickBar
    bool autostart = true;          // chkStartWindows
    bool operator==(const InstallOptions&) const = default;
};

// What became of one payload entry.
enum class Placement {
    Written,   // the file now holds the entry
    Kept,      // a protected file that exists was left as it is
    SetAside,  // the favourites link, kept for the finish page
    Nothing,   // no resource name: nothing to place
    Failed,    // the entry is not installed; a file at the target holds what it held before
    ReplacedAtRestart,  // a running program holds the file: the new one waits beside it and
                        // the system moves it into place at the next restart
};

struct EntryReport {
    std::string_view entry = {};   // the relative path from the file list
    std::string_view target = {};  // where it goes ("" when no target could be made)
    Placement placement = Placement::Nothing;
    std::string_view reason = {};    // for Failed: "X001", "X002" or the error's text
    std::uint32_t system_error = 0;  // for Failed: the platform's error code, or 0
    std::uint64_t bytes = 0;         // for Written and ReplacedAtRestart: the file's size
    std::string_view holders = {};   // the programs that held the file, when any did
};

// A post-install task that failed, in whole or in part.
struct TaskFailure {
    std::string task;  // the operation's name: "WriteVersionRecord"
    std::string code;  // the code its message showed ("0x004"), or "" for an error that ended
                       // the run
    std::string text;  // why
    bool operator==(const TaskFailure&) const = default;
};

class InstallObserver {
public:
    virtual ~InstallObserver() = default;

    // The window that owns started programs and the shell's folder lookups; 0 for none.
    virtual WindowHandle Owner() const = 0;
    // "正在复制文件：" and the target path, set before the file is unpacked and written
    // (lblNowCopyFile). A window paints it with the progress after the step, in one paint.
    virtual void ShowCopyCaption(std::string_view caption) = 0;
    // The file being written is a large one: the caption should show now, while it is written.
    virtual void LongCopyUnderway() {}
    // The completed fraction (DrawProgress) and its caption "12%" (lblProcessBarHint).
    virtual void ShowProgress(double fraction, std::string_view caption) = 0;
    // The options, read at the moment their task runs.
    virtual InstallOptions Options() const = 0;
    // The run has ended; its outcome and the entries it could not install can be read now.
    virtual void RunEnded() = 0;
    // One entry has been handled; for a log.
    virtual void EntryPlaced(const EntryReport&) {}
    // A post-install task failed (its message has been shown); for a log.
    virtual void TaskFailed(const TaskFailure&) {}
};

// Shows nothing and installs with the options it is given: for a run without a window.
class QuietObserver final : public InstallObserver {
public:
    explicit QuietObserver(InstallOptions options = {}) : options_(options) {}
    WindowHandle Owner() const override { return 0; }
    void ShowCopyCaption(std::string_view) override {}
    void ShowProgress(double, std::string_view) override {}
    InstallOptions Options() const override { return options_; }
    void RunEnded() override {}

private:
    InstallOptions options_;
};

}  // namespace setup
