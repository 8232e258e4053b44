// Remembers, for every framed output, the size and time of the source it was made from and of the
// output itself, so a later run re-compresses only what changed.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace pack {

class StampBook {
public:
    // A missing or unreadable book, or one of another format, simply means "nothing is up to date".
    void Load(const std::filesystem::path& book);
    // Rewrites the book only when its content changes. False with error on failure.
    bool Save(const std::filesystem::path& book, std::string& error) const;

    struct FileState {
        std::uint64_t size = 0;
        std::int64_t time = 0;  // last write, in nanoseconds
        bool operator==(const FileState&) const = default;
    };
    // Size and time of a regular file; nothing when there is none.
    static std::optional<FileState> StateOf(const std::filesystem::path& file);

    // True when output was made from source as it is now and has not been touched since.
    bool UpToDate(const std::filesystem::path& source, const std::filesystem::path& output) const;
    // Records output as made from source in the state it had before it was read (so a change
    // during the run shows next time); forgets the output when it cannot be read.
    void Record(const std::filesystem::path& source, const FileState& source_before,
                const std::filesystem::path& output);
    void Forget(const std::filesystem::path& output) { stamps_.erase(output.filename().string()); }

private:
    struct Stamp {
        FileState source, output;
        std::string source_path;
    };

    std::map<std::string, Stamp> stamps_;  // by output file name
};

}  // namespace pack
