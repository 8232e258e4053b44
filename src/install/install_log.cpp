#include "install/install_log.h"

#include <cstdio>

namespace setup {

InstallLog::InstallLog(LineSink sink, Clock clock, DescribeError describe)
    : sink_(std::move(sink)),
      clock_(std::move(clock)),
      describe_(std::move(describe)),
      start_(clock_()) {}

void InstallLog::Write(std::string_view event) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "[%8.3f] ", clock_() - start_);
    std::string line = stamp;
    line.append(event);
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
        case Placement::Failed:
            ++totals_.failed;
            break;
        case Placement::SetAside:
        case Placement::Nothing:
            break;
    }
}

void InstallLog::WriteSummary(int exit_code, std::string_view meaning) {
    char line[256];
    std::snprintf(line, sizeof line,
                  "summary: %d files written (%llu bytes), %d kept, %d not installed; "
                  "%.3f seconds; exit code %d ",
                  totals_.written, static_cast<unsigned long long>(totals_.bytes), totals_.kept,
                  totals_.failed, clock_() - start_, exit_code);
    Write(std::string(line).append(meaning));
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
        case Placement::Failed:
            line = log_.WithReason("file not installed: " + std::string(entry.entry) + ": " +
                                       std::string(entry.reason),
                                   entry.system_error);
            break;
    }
    log_.Write(line);
    inner_.EntryPlaced(entry);
}

void LoggingObserver::RunEnded() {
    log_.Write("run ended");
    inner_.RunEnded();
}

}  // namespace setup
