#include "install/install_log.h"

#include "platform/text.h"

namespace setup {

InstallLog::InstallLog(LineSink sink, Clock clock, DescribeError describe)
    : sink_(std::move(sink)),
      clock_(std::move(clock)),
      describe_(std::move(describe)),
      start_(clock_()) {}

void InstallLog::Write(std::string_view event) {
    // Appended, not added up: GCC 12 warns falsely on operator+ after a literal.
    std::string line = "[";
    line.append(text::FixedPoint(clock_() - start_, 3, 8)).append("] ").append(event);
    if (!sink_(line)) failed_ = true;
}

std::string InstallLog::WithReason(std::string_view text, std::uint32_t code) const {
    std::string out(text);
    if (code == 0) return out;
    out.append(" (").append(std::to_string(code));
    const std::string described = describe_ ? describe_(code) : std::string();
    if (!described.empty()) out.append(": ").append(described);
    return out.append(")");
}

void InstallLog::Count(const EntryReport& entry) {
    switch (entry.placement) {
        case Placement::Written:
            ++totals_.written;
            totals_.bytes += entry.bytes;
            break;
        case Placement::Kept:
            ++totals_.kept;
            break;
        case Placement::ReplacedAtRestart:
            ++totals_.at_restart;
            break;
        case Placement::Failed:
            ++totals_.failed;
            break;
        case Placement::SetAside:
        case Placement::Nothing:
            break;
    }
}

void InstallLog::WriteSummary(int exit_code, std::string_view meaning) {
    std::string line = "summary: " + std::to_string(totals_.written) + " files written (" +
                       std::to_string(totals_.bytes) + " bytes), " +
                       std::to_string(totals_.kept) + " kept, " +
                       std::to_string(totals_.at_restart) + " replaced at restart, " +
                       std::to_string(totals_.failed) + " not installed; " +
                       std::to_string(totals_.not_started) + " programs not started; " + text::FixedPoint(clock_() - start_, 3) +
                       " seconds; exit code " + std::to_string(exit_code) + " ";
    Write(line.append(meaning));
}

void LoggingObserver::EntryPlaced(const EntryReport& entry) {
    log_.Count(entry);
    std::string line;
    switch (entry.placement) {
        case Placement::Written:
            line = "file written: " + std::string(entry.target) + " (" +
                   std::to_string(entry.bytes) + " bytes)";
            break;
        case Placement::Kept:
            line = "file kept, protected: " + std::string(entry.target);
            break;
        case Placement::SetAside:
            line = "favourites link set aside: " + std::string(entry.entry);
            break;
        case Placement::Nothing:
            return;
        case Placement::ReplacedAtRestart:
            line = "file replaced at restart: " + std::string(entry.target) + " (" +
                   std::to_string(entry.bytes) + " bytes)";
            break;
        case Placement::Failed:
            line = log_.WithReason("file not installed: " + std::string(entry.entry) + ": " +
                                       std::string(entry.reason),
                                   entry.system_error);
            break;
    }
    if (!entry.holders.empty()) line.append("; held by ").append(entry.holders);
    log_.Write(line);
    inner_.EntryPlaced(entry);
}

void LoggingObserver::TaskFailed(const TaskFailure& failure) {
    std::string line = "task failed: " + failure.task;
    if (!failure.code.empty()) line.append(" (").append(failure.code).append(")");
    log_.Write(line.append(": ").append(failure.text));
    inner_.TaskFailed(failure);
}

void LoggingObserver::RunEnded() {
    log_.Write("run ended");
    inner_.RunEnded();
}

}  // namespace setup
