#include "install/extraction_run.h"

#include <algorithm>
#include <exception>

#include "data/file_list.h"
#include "install/place_file.h"
#include "install/post_install_tasks.h"
#include "install/shortcuts.h"
#include "install/target_path.h"
#include "platform/error.h"
#include "platform/rounding.h"

namespace setup {
std::string PercentCaption(double fraction) {
    // Rounded to a double before the tie test: the x87 unit of 32-bit builds would otherwise keep
    // extra bits (0.005 * 100 a hair above 0.5) and round differently from 64-bit builds.
    volatile double percent = fraction * 100;
    return std::to_string(RoundHalfEven(percent)) + "%";
}

ExtractionRun::ExtractionRun(InstallSession& session, std::vector<std::string> payload_file_list)
    : session_(session), list_(std::move(payload_file_list)) {}

ExtractionRun::~ExtractionRun() = default;  // a write still underway is stopped

void ExtractionRun::WriteLargeEntriesAside(std::vector<std::uint64_t> entry_bytes, double wait_ms) {
    aside_bytes_ = std::move(entry_bytes);
    aside_wait_ms_ = wait_ms;
}

bool ExtractionRun::Step() {
    if (cancelled_ || finished_ || task_failed_) return false;
    if (index_ < FileCount()) {
        if (!PlaceEntry(index_)) return true;
        ShowProgress(static_cast<double>(index_ + 1) / FileCount());
        ++index_;
        return true;
    }
    if (FileCount() == 0 && !tasks_started_) ShowProgress(1.0);  // complete at once
    try {
        return RunNextTask();
    } catch (...) {
        task_failed_ = true;
        throw;
    }
}

bool ExtractionRun::Cancel() {
    // A run that a failed task ended is over already: the cancel shows how it ended.
    if (task_failed_) return true;
    if (tasks_started_) return false;
    cancelled_ = true;
    writing_.reset();  // stopped and waited for: no step of it runs again
    return true;
}

RunSummary ExtractionRun::Summary() const {
    // The platform's codes for a full disk: ERROR_DISK_FULL and ERROR_HANDLE_DISK_FULL.
    const bool disk_full = std::any_of(failures_.begin(), failures_.end(), [](const auto& f) {
        return f.system_error == 112 || f.system_error == 39;
    });
    return {Outcome(), replaced_at_restart_, static_cast<int>(session_.TaskFailures.size()),
            disk_full};
}

RunOutcome ExtractionRun::Outcome() const {
    if (cancelled_) return RunOutcome::Cancelled;
    // A post-install task that failed ended the run before its end: not everything is in place.
    if (task_failed_) return RunOutcome::Incomplete;
    if (!finished_) return RunOutcome::Running;
    return failures_.empty() ? RunOutcome::Complete : RunOutcome::Incomplete;
}

void ExtractionRun::Fail(const std::string& entry, std::string reason, std::uint32_t system_error) {
    failures_.push_back({entry, std::move(reason), system_error});
}

void ExtractionRun::FailEntry(const std::string& entry, const std::string& target,
                              const char* reason, std::uint32_t system_error) {
    Fail(entry, reason);  // the list keeps a code for failed writes only
    session_.observer->EntryPlaced({entry, target, Placement::Failed, reason, system_error});
}

bool ExtractionRun::SetAsideFavorites(int index) {
    const std::string& entry = list_[static_cast<std::size_t>(index)];
    std::string url_name = session_.strings.Company + ".url";
    if (entry.find(url_name) == std::string::npos) return false;
    // The favourites link is only set aside; the finish page writes it if asked to.
    if (auto folder = GetFavoritesFolder(session_))
        favorites_ = {PayloadResourceName(index), PayloadResourceType(index),
                      *folder + "\\" + url_name};
    session_.observer->EntryPlaced({entry, favorites_.TargetPath, Placement::SetAside});
    return true;
}

bool ExtractionRun::PlaceEntry(int index) {
    const std::string& entry = list_[static_cast<std::size_t>(index)];
    if (!writing_ && SetAsideFavorites(index)) return true;
    std::string target = writing_ ? writing_->Target() : std::string();
    try {
        const std::optional<PlaceOutcome> placed =
            writing_ ? WrittenAside() : StartEntry(index, target);
        if (!placed) return false;
        Count(entry, target, *placed);
    } catch (const RuntimeError& e) {
        // A missing or damaged entry, or one that would lead out of the folder: the run goes on
        // without it, and the finish page names it.
        FailEntry(entry, target, e.what(), e.SystemError());
    } catch (const std::exception& e) {
        FailEntry(entry, target, e.what(), 0);
    }
    return true;
}

// A large entry goes to a thread of its own when the caller asked for short steps and one can be
// had; otherwise it is written here, as every other entry.
std::optional<PlaceOutcome> ExtractionRun::StartEntry(int index, std::string& target) {
    const std::string& entry = list_[static_cast<std::size_t>(index)];
    const std::string name = PayloadResourceName(index), type = PayloadResourceType(index);
    target = MakeTargetPath(session_.platform.files, session_.InstallDir, entry);
    if (auto done = PrepareEntry(session_, name, type, target)) return done;
    const auto i = static_cast<std::size_t>(index);
    if (i < aside_bytes_.size() && aside_bytes_[i] >= kLongCopyBytes) {
        try {
            writing_ = std::make_unique<ThreadedWrite>(session_, type, name, target);
        } catch (const std::exception&) {
            writing_.reset();  // no thread to be had
        }
        if (writing_) {
            session_.observer->LongCopyUnderway();
            return WrittenAside();
        }
    }
    std::uint64_t bytes = 0;
    const Result write = WriteEntry(session_, type, name, target, bytes);
    return FinishEntry(session_, name, type, target, write, bytes);
}

// What follows the write, a failed one's questions included, runs here on the caller's thread.
std::optional<PlaceOutcome> ExtractionRun::WrittenAside() {
    if (!writing_->WaitEnded(aside_wait_ms_)) return std::nullopt;
    const std::unique_ptr<ThreadedWrite> written = std::move(writing_);
    std::uint64_t bytes = 0;
    const Result write = written->Outcome(bytes);
    return FinishEntry(session_, written->Name(), written->Type(), written->Target(), write, bytes);
}

void ExtractionRun::Count(const std::string& entry, const std::string& target,
                          const PlaceOutcome& placed) {
    if (placed.placement == Placement::Failed)
        Fail(entry, placed.reason, placed.system_error);
    else if (placed.placement != Placement::Nothing)
        ++installed_;
    if (placed.placement == Placement::ReplacedAtRestart) ++replaced_at_restart_;
    session_.InstalledBytes += placed.bytes;
    session_.observer->EntryPlaced({entry, target, placed.placement, placed.reason,
                                    placed.system_error, placed.bytes, placed.holders});
}

void ExtractionRun::ShowProgress(double fraction) {
    session_.observer->ShowProgress(fraction, PercentCaption(fraction));
}

// One task per step, so no tick holds them all (the links alone take a while); a cancel is
// refused from the first task on, so they are never left half done.
bool ExtractionRun::RunNextTask() {
    if (!tasks_started_) {
        tasks_started_ = true;
        // Records of an installation that holds not one of its files would only mislead: nothing
        // is recorded, linked or started. With some files in place they are, so installing again
        // repairs.
        if (installed_ == 0 && !failures_.empty()) {
            Finish();
            return false;
        }
    }
    const std::span<const PostInstallTask> tasks = PostInstallTasks();
    const PostInstallTask& task = tasks[next_task_++];
    try {
        task.run(session_, session_.observer->Options());
    } catch (const std::exception& e) {
        // An error no task handles itself ends the run there; the window shows it.
        RecordTaskFailure(session_, task.name, "", e.what());
        throw;
    }
    if (next_task_ < static_cast<int>(tasks.size())) return true;
    Finish();
    return false;
}

void ExtractionRun::Finish() {
    finished_ = true;
    session_.observer->RunEnded();
}

// The link is a nicety the user asked for at the very end: a failure to write it has been shown
// by the placement and changes nothing of the installation.
void ExtractionRun::AddToFavorites() {
    (void)PlaceFile(session_, favorites_.ResourceName, favorites_.ResourceType,
                    favorites_.TargetPath);
}

}  // namespace setup
