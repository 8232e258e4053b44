// The installation's log: one line per event, each led by the seconds since the log began, and a
// summary at the end. It never stops the installation: a line that cannot be written is counted,
// and the exit code says so when nothing else failed.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "install/install_observer.h"

namespace setup {

class InstallLog {
public:
    // Takes one line in the system code page, without its line end; false when it could not be
    // written (the sink turns it into UTF-8 on its way to the file).
    using LineSink = std::function<bool(std::string_view line)>;
    // Seconds on a steady clock.
    using Clock = std::function<double()>;
    // The platform's text for its error code.
    using DescribeError = std::function<std::string(std::uint32_t code)>;

    InstallLog(LineSink sink, Clock clock, DescribeError describe);

    void Write(std::string_view event);
    // "text (code: the system's text)", or just text when code is 0.
    std::string WithReason(std::string_view text, std::uint32_t code) const;
    bool Failed() const { return failed_; }

    // What the run did, for the summary.
    struct Totals {
        int written = 0, kept = 0, at_restart = 0, failed = 0;
        int not_started = 0;  // programs the shell could not start
        std::uint64_t bytes = 0;
    };
    const Totals& Counts() const { return totals_; }
    void Count(const EntryReport& entry);
    // A program that could not be started at all: the run's outcome stays (nothing a started
    // program does is relied on), the summary says so.
    void CountProgramNotStarted() { ++totals_.not_started; }
    // The last line: files, bytes, seconds and the exit code.
    void WriteSummary(int exit_code, std::string_view meaning);

private:
    LineSink sink_;
    Clock clock_;
    DescribeError describe_;
    double start_;
    Totals totals_;
    bool failed_ = false;
};

// Logs every entry and the end of the run, and passes everything on to the observer it watches
// for (the window, or nobody).
class LoggingObserver final : public InstallObserver {
public:
    LoggingObserver(InstallLog& log, InstallObserver& inner) : log_(log), inner_(inner) {}

    WindowHandle Owner() const override { return inner_.Owner(); }
    void ShowCopyCaption(std::string_view caption) override { inner_.ShowCopyCaption(caption); }
    void LongCopyUnderway() override { inner_.LongCopyUnderway(); }
    void ShowProgress(double fraction, std::string_view caption) override {
        inner_.ShowProgress(fraction, caption);
    }
    InstallOptions Options() const override { return inner_.Options(); }
    void RunEnded() override;
    void EntryPlaced(const EntryReport& entry) override;
    void TaskFailed(const TaskFailure& failure) override;

private:
    InstallLog& log_;
    InstallObserver& inner_;
};

}  // namespace setup
