// The extraction run: one payload entry per step, the progress after each, and after the last
// entry the post-install tasks. The wizard calls Step from its timer (tmr1Timer) with the timer
// disabled, and Step says whether to enable it again; a caller without a window steps to the end.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "install/install_session.h"

namespace setup {

// An entry of the payload that was not installed, and why.
struct EntryFailure {
    std::string entry;               // the relative path from the file list
    std::string reason;              // "X001", "X002", or the error's text
    std::uint32_t system_error = 0;  // the platform's error code of a failed write, or 0
    bool operator==(const EntryFailure&) const = default;
};

// How a run ended, as the finish page and the exit code tell it.
enum class RunOutcome {
    Running,     // not ended yet
    Complete,    // every entry is in place
    Incomplete,  // the run reached its end with entries not installed
    Cancelled,   // the user stopped it
};

// What the exit code is made of: how the run ended, how many files wait for the next restart,
// and how many post-install tasks failed in whole or in part (their messages were shown).
struct RunSummary {
    RunOutcome outcome = RunOutcome::Cancelled;
    int replaced_at_restart = 0;
    int task_failures = 0;
    bool disk_full = false;  // an entry was not installed because the drive was full
    bool operator==(const RunSummary&) const = default;
};

// A payload entry set aside for later: the favourites link that the finish page may write.
struct PayloadEntry {
    std::string ResourceName;
    std::string ResourceType;
    std::string TargetPath;
    bool operator==(const PayloadEntry&) const = default;
};

class ExtractionRun {
public:
    ExtractionRun(InstallSession& session, std::vector<std::string> payload_file_list);

    // One step: places entry FileIndex (an entry that fails is counted, with its reason, and
    // the run goes on), shows the progress and advances. After the last entry (at once for an
    // empty list) each step runs one post-install task, in their order; none runs when not one
    // file could be installed. The last one sets InstallFinished and tells the observer the run
    // has ended. True while something remains, so the caller enables its timer again. An error of
    // a post-install task passes to the caller, which shows it; the run then does nothing more.
    bool Step();

    // Stops the run (cancel on page 3): later steps do nothing and no post-install task runs.
    // Refused (false) once the tasks have begun: the records and links are written whole; a run
    // that a failed task ended accepts it and keeps its outcome.
    bool Cancel();
    // The post-install tasks have begun and not yet ended.
    bool RecordsUnderway() const { return tasks_started_ && !finished_ && !task_failed_; }

    // Writes the favourites link that the run set aside; nothing when there is none. Errors of
    // its resource pass to the caller.
    void AddToFavorites();

    const std::vector<std::string>& PayloadFileList() const { return list_; }
    int FileCount() const { return static_cast<int>(list_.size()); }
    int FileIndex() const { return index_; }
    const PayloadEntry& FavoritesEntry() const { return favorites_; }
    bool InstallFinished() const { return finished_; }
    bool Cancelled() const { return cancelled_; }
    // The entries not installed, in list order.
    const std::vector<EntryFailure>& Failures() const { return failures_; }
    // Entries whose file is in place: written, a protected file kept, or one replaced at the
    // next restart.
    int InstalledCount() const { return installed_; }
    // Entries whose new file waits for the next restart: the installation completes then.
    int ReplacedAtRestartCount() const { return replaced_at_restart_; }
    RunOutcome Outcome() const;
    RunSummary Summary() const;

private:
    void PlaceEntry(int index);
    void Fail(const std::string& entry, std::string reason, std::uint32_t system_error = 0);
    // An entry that threw: counted as not installed, and reported as such.
    void FailEntry(const std::string& entry, const std::string& target, const char* reason,
                   std::uint32_t system_error);
    void ShowProgress(double fraction);
    // Runs the next post-install task; false once none remains.
    bool RunNextTask();
    void Finish();

    InstallSession& session_;
    std::vector<std::string> list_;
    int index_ = 0;
    PayloadEntry favorites_;
    std::vector<EntryFailure> failures_;
    int installed_ = 0;
    int replaced_at_restart_ = 0;
    bool finished_ = false;
    bool tasks_started_ = false;
    int next_task_ = 0;
    bool task_failed_ = false;
    bool cancelled_ = false;
};

// The progress caption: the fraction times 100, rounded to the nearest integer with halves going
// to the even neighbour, followed by "%".
std::string PercentCaption(double fraction);

}  // namespace setup
