// The installer with a probe on its message loop, for bench/install.sh. When the installer closes
// it writes to the file named on its command line: the number of steps of the extraction run (the
// main window's timer ticks), the time they took in all and the longest, the time from the first
// tick to the end of the last, and the process's peak working set.
#include <psapi.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "app/setup_app.h"

namespace {

class TickProbe final : public setup::app::LoopProbe {
public:
    explicit TickProbe(std::string path) : path_(std::move(path)) {}

    void Dispatched(const MSG& message, double milliseconds) override {
        if (message.message != WM_TIMER || !IsMainForm(message.hwnd)) return;
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        if (ticks_ == 0) {
            first_end_ = now;
            first_ms_ = milliseconds;
            before_run_ = WorkingSet().WorkingSetSize;
        }
        last_end_ = now;
        ++ticks_;
        work_ms_ += milliseconds;
        if (milliseconds > longest_ms_) longest_ms_ = milliseconds;
    }

    void Finished() override {
        const PROCESS_MEMORY_COUNTERS memory = WorkingSet();
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        const double span_ms = static_cast<double>(last_end_.QuadPart - first_end_.QuadPart) *
                                   1000.0 / static_cast<double>(frequency.QuadPart) +
                               first_ms_;
        if (FILE* out = std::fopen(path_.c_str(), "w")) {
            std::fprintf(out, "ticks %d\nwork_ms %.1f\nlongest_ms %.1f\nrun_ms %.1f\n", ticks_,
                         work_ms_, longest_ms_, span_ms);
            std::fprintf(out, "peak_working_set %lu\nworking_set_before_run %lu\n",
                         static_cast<unsigned long>(memory.PeakWorkingSetSize),
                         static_cast<unsigned long>(before_run_));
            std::fclose(out);
        }
    }

private:
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
    int ticks_ = 0;
    double work_ms_ = 0, longest_ms_ = 0, first_ms_ = 0;
    SIZE_T before_run_ = 0;
    LARGE_INTEGER first_end_{}, last_end_{};
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR command_line, int) {
    TickProbe probe(command_line ? command_line : "");
    return setup::app::RunSetup("", &probe);
}
