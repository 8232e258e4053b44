// Compresses the files that need it on several threads, biggest first so the threads finish
// together, with a progress line on stderr every second once a run takes longer than that.
#pragma once

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace pack {

struct FrameJob {
    std::filesystem::path source;
    std::uint64_t size = 0;
    std::filesystem::path output;
};

struct JobsResult {
    std::vector<std::size_t> done;  // indexes of the jobs whose output was written
    std::vector<std::string> errors;
};

// Runs every job; after the first failure no new job starts. progress may be null (quiet).
JobsResult RunFrameJobs(const std::vector<FrameJob>& jobs, unsigned threads,
                        std::ostream* progress);

}  // namespace pack
