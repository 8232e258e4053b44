#include "jobs.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <numeric>
#include <thread>

#include "frame.h"

namespace pack {

namespace {

using Clock = std::chrono::steady_clock;

struct Shared {
    std::atomic<std::size_t> next{0};
    std::atomic<std::uint64_t> bytes{0};
    std::atomic<std::size_t> finished{0};
    std::atomic<bool> failed{false};
    std::mutex mutex;  // guards result and running, and wakes the reporter
    unsigned running = 0;
    std::condition_variable changed;
    JobsResult result;
};

void Worker(const std::vector<FrameJob>& jobs, const std::vector<std::size_t>& order,
            Shared& shared) {
    while (!shared.failed) {
        std::size_t slot = shared.next++;
        if (slot >= order.size()) break;
        const FrameJob& job = jobs[order[slot]];
        std::string error;
        bool ok = FrameFile(job.source, job.size, job.output, &shared.bytes, error);
        std::lock_guard lock(shared.mutex);
        if (ok) {
            shared.result.done.push_back(order[slot]);
        } else {
            shared.result.errors.push_back(error);
            shared.failed = true;
        }
        ++shared.finished;
    }
    std::lock_guard lock(shared.mutex);
    --shared.running;
    shared.changed.notify_all();
}

void Report(std::ostream& out, const Shared& shared, std::size_t count, std::uint64_t total) {
    const double mb = 1e6;
    const std::uint64_t bytes = shared.bytes.load();
    char line[160];
    std::snprintf(line, sizeof line, "setup-pack: %3.0f%%  %zu of %zu files, %.1f of %.1f MB\n",
                  total ? 100.0 * static_cast<double>(bytes) / static_cast<double>(total) : 100.0,
                  shared.finished.load(), count, static_cast<double>(bytes) / mb,
                  static_cast<double>(total) / mb);
    out << line << std::flush;
}

}  // namespace

JobsResult RunFrameJobs(const std::vector<FrameJob>& jobs, unsigned threads,
                        std::ostream* progress) {
    std::vector<std::size_t> order(jobs.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return jobs[a].size > jobs[b].size; });
    std::uint64_t total = 0;
    for (const FrameJob& job : jobs) total += job.size;

    Shared shared;
    threads = std::clamp<unsigned>(threads, 1, std::max<std::size_t>(jobs.size(), 1));
    shared.running = threads;
    std::vector<std::thread> workers;
    for (unsigned i = 0; i < threads; ++i)
        workers.emplace_back(Worker, std::cref(jobs), std::cref(order), std::ref(shared));

    // The first report comes after one second, so short runs stay silent.
    auto next_report = Clock::now() + std::chrono::seconds(1);
    {
        std::unique_lock lock(shared.mutex);
        while (shared.running > 0) {
            if (shared.changed.wait_until(lock, next_report) == std::cv_status::timeout) {
                if (progress) Report(*progress, shared, jobs.size(), total);
                next_report += std::chrono::seconds(1);
            }
        }
    }
    for (std::thread& worker : workers) worker.join();
    return std::move(shared.result);
}

}  // namespace pack
