#include "install/installation.h"

#include <exception>

#include "data/file_list.h"
#include "data/payload_check.h"
#include "install/registry_records.h"

namespace setup {

namespace {

// How far the inflating may run ahead of the writing: enough that neither waits for the other
// on ordinary files, little enough that memory does not grow with the payload.
constexpr std::size_t kPrefetchBytes = 1u << 20;
// A solid installer's two decoding threads may each run this far ahead: the one whose block is
// not yet being written decodes that much of it meanwhile. 8 MB each cost 14 MB more peak memory
// on the real-binary payload for no time that could be told from the noise.
constexpr std::size_t kSolidPrefetchBytes = 1u << 20;

}  // namespace

Installation::Installation(const InstallPlatform& platform)
    : settings_(ReadSetupSettings(platform.resources)),
      direct_(platform.resources),
      session_{settings_.strings, platform, &quiet_, &direct_},
      run_(session_, LoadFileList(platform.resources)),
      folders_(PayloadFolders(run_.PayloadFileList())),
      footprint_{UnpackedEntrySizes(platform.resources, run_.FileCount()), folders_.size()} {}

void Installation::SetObserver(InstallObserver* observer) {
    session_.observer = observer ? observer : &quiet_;
}

std::optional<std::string> Installation::FindDamage() const {
    if (!settings_.Parsed()) return settings_.Problem();
    return FindDamagedResource(session_.platform.resources, FileCount());
}

std::string Installation::ReadPreviousPath() {
    return setup::ReadPreviousPath(session_);
}

void Installation::SetPaths(const InstallPaths& paths) {
    session_.InstallDir = paths.InstallDir;
    session_.MainExePath = paths.MainExePath;
    session_.UninstallerPath = paths.UninstallerPath;
}

// Records written from an unread table would carry empty names (the uninstall entry would land
// on the Uninstall key itself): such an installation never starts.
void Installation::Start() {
    if (started_ || !settings_.Parsed()) return;
    started_ = true;
    RemoveWriteLeftovers(session_.platform.files, session_.InstallDir, folders_);
    try {
        std::vector<PrefetchedContents::Entry> entries;
        for (int i = 0; i < run_.FileCount(); ++i)
            entries.emplace_back(PayloadResourceType(i), PayloadResourceName(i));
        prefetched_ =
            std::make_unique<PrefetchedContents>(session_.platform.resources, std::move(entries),
                                                 kPrefetchBytes, StartThread, kSolidPrefetchBytes);
        session_.contents = prefetched_.get();
    } catch (const std::exception&) {
        // No memory for the read-ahead: the entries are read directly, as they come.
        prefetched_.reset();
        session_.contents = &direct_;
    }
}

void Installation::KeepStepsShort(double wait_ms) {
    run_.WriteLargeEntriesAside(footprint_.file_bytes, wait_ms);
}

bool Installation::Cancel() {
    if (!run_.Cancel()) return false;
    StopReadingAhead();
    return true;
}

// The thread that inflates ahead, and its blocks, go once the last entry is placed: the
// post-install tasks that follow then use that memory instead of adding to it.
bool Installation::Step() {
    const bool more = started_ && run_.Step();
    if (run_.FileIndex() == run_.FileCount()) StopReadingAhead();
    return more;
}

void Installation::StopReadingAhead() {
    if (!prefetched_) return;
    session_.contents = &direct_;
    prefetched_.reset();
}

void Installation::RunToEnd() {
    Start();
    while (Step()) {
    }
}

RunOutcome Installation::Outcome() const {
    return started_ ? run_.Outcome() : RunOutcome::Cancelled;
}

RunSummary Installation::Summary() const {
    RunSummary summary = run_.Summary();
    summary.outcome = Outcome();
    return summary;
}

void Installation::StartMainProgram() {
    StartProgram(session_, session_.MainExePath);
}

}  // namespace setup
