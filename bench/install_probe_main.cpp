// The installer with a probe on its message loop, for bench/install.sh. When the installer closes
// it writes to the file named on its command line: the number of messages of the extraction run
// (the timer's ticks and the chain's posted messages, each placing as many entries as fit its
// budget), the time they took in all and the longest, the same for the messages that placed
// entries and for those of the post-install tasks after them (records, links, programs started),
// the time from the first message to the end of the last, the process's peak working set, the
// moment (Unix milliseconds) the click on cancel was handled and the failure form painted after
// it, and the floor of the same run: the time to inflate every payload entry in one piece and to
// write it to a scratch file.
#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/setup_app.h"
#include "format/frame.h"
#include "format/resource_ids.h"
#include "gui/step_chain.h"
#include "install/installation.h"

namespace {

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 /
           static_cast<double>(frequency.QuadPart);
}

// The wall clock as the shell's `date` tells it, in milliseconds.
double UnixMilliseconds() {
    FILETIME now;
    GetSystemTimePreciseAsFileTime(&now);
    const ULONGLONG ticks = (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return static_cast<double>(ticks - 116444736000000000ULL) / 10000.0;
}

LARGE_INTEGER Now() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

struct Floor {
    double inflate_ms = 0, write_ms = 0;
    double longest_ms = 0;  // the entry that took longest, inflated and written
    int entries = 0;
};

// Inflates every payload entry of this executable with one call and writes it with one call to
// a scratch file, removed again: the least any extraction of this payload can take.
Floor MeasureFloor() {
    Floor floor;
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    const std::string scratch = std::string(folder) + "probe-floor.bin";
    std::string content;
    for (int i = 0;; ++i) {
        const std::string type = setup::format::PayloadResourceType(i);
        const std::string name = setup::format::PayloadResourceName(i);
        HRSRC found = FindResourceA(nullptr, name.c_str(), type.c_str());
        if (!found) break;
        const auto* framed = static_cast<const Bytef*>(LockResource(LoadResource(nullptr, found)));
        const DWORD framed_size = SizeofResource(nullptr, found);
        const auto length = setup::format::FrameLength({framed, framed_size});
        if (!length) break;
        LARGE_INTEGER start = Now();
        content.resize(*length);
        uLongf out_size = *length;
        uncompress(reinterpret_cast<Bytef*>(content.data()), &out_size,
                   framed + setup::format::kFrameHeaderSize,
                   framed_size - setup::format::kFrameHeaderSize);
        LARGE_INTEGER inflated = Now();
        HANDLE file = CreateFileA(scratch.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
        CloseHandle(file);
        const double inflate_ms = Milliseconds(start, inflated);
        const double write_ms = Milliseconds(inflated, Now());
        floor.inflate_ms += inflate_ms;
        floor.write_ms += write_ms;
        if (inflate_ms + write_ms > floor.longest_ms) floor.longest_ms = inflate_ms + write_ms;
        ++floor.entries;
    }
    DeleteFileA(scratch.c_str());
    return floor;
}

class TickProbe final : public setup::app::LoopProbe {
public:
    explicit TickProbe(std::string path) : path_(std::move(path)) {}

    void Watch(const setup::Installation& installation) override { installation_ = &installation; }

    void Dispatched(const MSG& message, double milliseconds) override {
        WatchCancel(message);
        if (!IsRunMessage(message) || !IsMainForm(message.hwnd)) return;
        const LARGE_INTEGER now = Now();
        if (tick_ms_.empty()) {
            first_end_ = now;
            before_run_ = WorkingSet().WorkingSetSize;
        }
        last_end_ = now;
        tick_ms_.push_back(milliseconds);
        // A message that began with entries left placed entries; the tasks come after the last.
        placing_.push_back(placed_before_ < FileCount());
        const int before = placed_before_;
        placed_before_ = installation_ ? installation_->Run().FileIndex() : 0;
        if (milliseconds > longest_seen_) {
            longest_seen_ = milliseconds;
            longest_from_ = before;
            longest_to_ = placed_before_;
        }
    }

    void Finished() override {
        const PROCESS_MEMORY_COUNTERS memory = WorkingSet();
        const double span_ms =
            Milliseconds(first_end_, last_end_) + (tick_ms_.empty() ? 0 : tick_ms_.front());
        const Floor floor = MeasureFloor();
        double entries_ms = 0, longest_entry_ms = 0, tasks_ms = 0, longest_task_ms = 0;
        for (std::size_t i = 0; i < tick_ms_.size(); ++i) {
            const bool entry = placing_[i];
            (entry ? entries_ms : tasks_ms) += tick_ms_[i];
            double& longest = entry ? longest_entry_ms : longest_task_ms;
            longest = std::max(longest, tick_ms_[i]);
        }
        if (FILE* out = std::fopen(path_.c_str(), "w")) {
            std::fprintf(out, "ticks %d\nwork_ms %.1f\nlongest_ms %.1f\nrun_ms %.1f\n",
                         static_cast<int>(tick_ms_.size()), entries_ms + tasks_ms,
                         std::max(longest_entry_ms, longest_task_ms), span_ms);
            std::fprintf(out, "entries_ms %.1f\nlongest_entry_ms %.1f\n", entries_ms,
                         longest_entry_ms);
            std::fprintf(out, "tasks_ms %.1f\nlongest_task_ms %.1f\n", tasks_ms, longest_task_ms);
            std::fprintf(out, "peak_working_set %lu\nworking_set_before_run %lu\n",
                         static_cast<unsigned long>(memory.PeakWorkingSetSize),
                         static_cast<unsigned long>(before_run_));
            std::fprintf(out, "floor_entries %d\nfloor_inflate_ms %.1f\nfloor_write_ms %.1f\n",
                         floor.entries, floor.inflate_ms, floor.write_ms);
            std::fprintf(out, "floor_longest_ms %.1f\n", floor.longest_ms);
            std::fprintf(out, "longest_from %d\nlongest_to %d\n", longest_from_, longest_to_);
            std::fprintf(out, "cancel_handled_unix_ms %.1f\ncancel_painted_unix_ms %.1f\n",
                         cancel_handled_ms_, cancel_painted_ms_);
            std::fclose(out);
        }
    }

private:
    static bool IsRunMessage(const MSG& message) {
        return message.message == WM_TIMER || message.message == setup::gui::kStepChainMessage;
    }

    int FileCount() const { return installation_ ? installation_->FileCount() : 0; }

    // The click that cancelled the run, and the first paint after it: the failure form.
    void WatchCancel(const MSG& message) {
        if (!installation_ || cancel_painted_ms_ > 0) return;
        if (cancel_handled_ms_ == 0) {
            if (message.message == WM_LBUTTONUP && installation_->Run().Cancelled())
                cancel_handled_ms_ = UnixMilliseconds();
        } else if (message.message == WM_PAINT) {
            cancel_painted_ms_ = UnixMilliseconds();
        }
    }

    static PROCESS_MEMORY_COUNTERS WorkingSet() {
        PROCESS_MEMORY_COUNTERS memory{};
        memory.cb = sizeof memory;
        GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
        return memory;
    }

    static bool IsMainForm(HWND window) {
        char name[32] = {};
        GetClassNameA(window, name, sizeof name);
        return std::strcmp(name, "SetupForm") == 0;
    }

    std::string path_;
    const setup::Installation* installation_ = nullptr;
    std::vector<double> tick_ms_;  // each message's time, in order
    std::vector<bool> placing_;    // whether it placed entries
    int placed_before_ = 0;
    double longest_seen_ = 0;
    int longest_from_ = 0, longest_to_ = 0;  // the entries the longest message began and ended at
    double cancel_handled_ms_ = 0, cancel_painted_ms_ = 0;
    SIZE_T before_run_ = 0;
    LARGE_INTEGER first_end_{}, last_end_{};
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR command_line, int) {
    TickProbe probe(command_line ? command_line : "");
    return setup::app::RunSetup("", &probe);
}
