// The extraction run: one payload entry per tick of the main window's timer, the progress on
// page 3, and after the last entry the post-install tasks and page 4. The main window owns the run
// and calls Step from its timer with the timer disabled; Step says whether to enable it again.
#pragma once

#include <string>
#include <vector>

#include "install/install_session.h"

namespace setup {

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

    // One step: places entry FileIndex (an entry that fails is skipped without a message),
    // shows the progress and advances. After the last entry, or at once for an empty list, runs
    // the post-install tasks, shows page 4 and sets InstallFinished. True while entries remain,
    // so the caller enables its timer again. An error of a post-install task passes to the
    // caller, which shows it; the run then does nothing more.
    bool Step();

    // Stops the run (cancel on page 3): later steps do nothing and no post-install task runs.
    void Cancel() { cancelled_ = true; }

    // Writes the favourites link that the run set aside; nothing when there is none. Errors of
    // its resource pass to the caller.
    void AddToFavorites();

    const std::vector<std::string>& PayloadFileList() const { return list_; }
    int FileCount() const { return static_cast<int>(list_.size()); }
    int FileIndex() const { return index_; }
    const PayloadEntry& FavoritesEntry() const { return favorites_; }
    bool InstallFinished() const { return finished_; }
    bool Cancelled() const { return cancelled_; }

private:
    void PlaceEntry(int index);
    void ShowProgress(double fraction);
    void RunPostInstallTasks();

    InstallSession& session_;
    std::vector<std::string> list_;
    int index_ = 0;
    PayloadEntry favorites_;
    bool finished_ = false;
    bool tasks_started_ = false;
    bool cancelled_ = false;
};

// The progress caption: the fraction times 100, rounded to the nearest integer with halves going
// to the even neighbour, followed by "%".
std::string PercentCaption(double fraction);

}  // namespace setup
