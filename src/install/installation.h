// One installation of the product: its names and payload list read from the installer's own
// resources, the paths and options it installs with, and the run that copies the payload and then
// records, links and starts it. The program creates it and hands it to whoever drives it: the
// wizard, one step at a time between its messages, or an unattended run, to the end at once. It
// knows nothing of pages or windows.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data/settings.h"
#include "install/extraction_run.h"
#include "install/install_session.h"
#include "install/payload_footprint.h"

namespace setup {

class Installation {
public:
    // Reads the settings table, once, and the payload file list. A table that does not parse is
    // damage: FindDamage names it, and the installation never starts.
    explicit Installation(const InstallPlatform& platform);
    Installation(const Installation&) = delete;
    Installation& operator=(const Installation&) = delete;

    // Who is told of the progress and asked for the options; nullptr for nobody.
    void SetObserver(InstallObserver* observer);

    // The table as it was read; the window cuts its skin from its rectangles.
    const SetupSettings& Settings() const { return settings_; }
    const ProductStrings& Strings() const { return settings_.strings; }
    const InstallPlatform& Platform() const { return session_.platform; }
    int FileCount() const { return run_.FileCount(); }
    // What the payload takes once unpacked, file by file, and the folders it goes into.
    const PayloadFootprint& Footprint() const { return footprint_; }
    // The settings table's problem when it does not parse, else the first of the installer's own
    // resources that does not match its checksum.
    std::optional<std::string> FindDamage() const;

    // The directory page 2 starts with: the previous installation's, else the default. Also
    // decides BrowseDrive.
    std::string ReadPreviousPath();
    const std::string& BrowseDrive() const { return session_.BrowseDrive; }
    void SetPaths(const InstallPaths& paths);

    // Copying starts only here, after what a killed run left of its writes in the payload's
    // folders is removed, and with it a second thread that inflates the entries ahead of their
    // writes (without one, they are read directly); Step then places one entry, or runs one
    // post-install task after the last, and says whether anything remains; RunToEnd steps to the
    // end at once. With settings that do not parse nothing starts, so nothing is written.
    void Start();
    bool Started() const { return started_; }
    // For a caller whose steps must stay short, the wizard's window: from now on a large entry is
    // written on a thread of its own over as many steps as it takes, each step waiting for it at
    // most wait_ms, while the window's thread handles input and painting and asks the questions
    // about running programs. An unattended run places each entry in its own step.
    void KeepStepsShort(double wait_ms);
    bool Step();
    void RunToEnd();
    // False, and nothing stops, once the records and links are being written.
    bool Cancel();
    bool RecordsUnderway() const { return run_.RecordsUnderway(); }

    bool InstallFinished() const { return run_.InstallFinished(); }
    // Not started, or stopped, counts as cancelled.
    RunOutcome Outcome() const;
    // The outcome with what else the exit code needs.
    RunSummary Summary() const;
    const std::vector<EntryFailure>& Failures() const { return run_.Failures(); }

    // The finish page's two options.
    void AddToFavorites() { run_.AddToFavorites(); }
    void StartMainProgram();

    // The state and the run, for those that look closer (tests, the benchmark probe).
    InstallSession& Session() { return session_; }
    const InstallSession& Session() const { return session_; }
    const ExtractionRun& Run() const { return run_; }

private:
    // Entries are read directly from here on.
    void StopReadingAhead();

    const SetupSettings settings_;
    QuietObserver quiet_;
    DirectContents direct_;
    std::unique_ptr<PrefetchedContents> prefetched_;
    InstallSession session_;
    ExtractionRun run_;
    std::vector<std::string> folders_;  // the payload's, relative to the installation folder
    PayloadFootprint footprint_;
    bool started_ = false;
};

}  // namespace setup
