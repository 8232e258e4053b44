// The extraction run: one payload entry per step, the progress after each, and after the last
// entry the post-install tasks. The wizard calls Step from its chain of messages, and Step says
// whether anything remains; a caller without a window steps to the end. For the wizard a large
// entry is written on a thread of its own, over as many steps as it takes.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "install/install_session.h"
#include "install/place_file.h"
#include "install/threaded_write.h"

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
    ~ExtractionRun();
    ExtractionRun(const ExtractionRun&) = delete;
    ExtractionRun& operator=(const ExtractionRun&) = delete;

    // From now on an entry of at least kLongCopyBytes (entry_bytes: each entry's size, in list
    // order) is written on a thread of its own: its step starts the write and waits at most
    // wait_ms for it, and the steps after it look again, until it has ended and the entry is
    // placed and counted. Its name shows meanwhile; the progress moves when it is placed. For a
    // caller whose steps must stay short (a window); without it each entry is placed in its step.
    void WriteLargeEntriesAside(std::vector<std::uint64_t> entry_bytes, double wait_ms);

    // One step: places entry FileIndex (an entry that fails is counted, with its reason, and
    // the run goes on), shows the progress and advances. After the last entry (at once for an
    // empty list) each step runs one post-install task, in their order; none runs when not one
    // file could be installed. The last one sets InstallFinished and tells the observer the run
    // has ended. True while something remains, so the caller enables its timer again. An error of
    // a post-install task passes to the caller, which shows it; the run then does nothing more.
    bool Step();

    // Stops the run (cancel on page 3): later steps do nothing and no post-install task runs; a
    // large entry being written is stopped, and leaves neither its file nor its temporary file.
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
    // False while the entry is still being written on its own thread.
    bool PlaceEntry(int index);
    // The favourites link is only set aside; true for it.
    bool SetAsideFavorites(int index);
    // The entry's placement, or nothing while it is written on its own thread.
    std::optional<PlaceOutcome> StartEntry(int index, std::string& target);
    std::optional<PlaceOutcome> WrittenAside();
    void Count(const std::string& entry, const std::string& target, const PlaceOutcome& placed);
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
    std::vector<std::uint64_t> aside_bytes_;  // empty: every entry is placed in its step
    double aside_wait_ms_ = 0;
    std::unique_ptr<ThreadedWrite> writing_;  // the large entry being written, if any
};

// The progress caption: the fraction times 100, rounded to the nearest integer with halves going
// to the even neighbour, followed by "%".
std::string PercentCaption(double fraction);

}  // namespace setup
