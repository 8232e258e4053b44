// Files and folders as the installer needs them: existence tests, folder creation, replacing a
// whole file without ever leaving it half written, and the space left on a drive. Paths are texts
// in the ANSI code page.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/bytes.h"
#include "platform/text.h"

namespace setup {

// The outcome of a write; error is the platform's error code (0 on success), kept for diagnosis.
struct [[nodiscard]] WriteResult {
    bool ok = false;
    std::uint32_t error = 0;
    explicit operator bool() const { return ok; }
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // A file (not a folder) of that name exists.
    virtual bool FileExists(const std::string& path) const = 0;
    // The name has attributes and they include the directory bit.
    virtual bool DirectoryExists(const std::string& path) const = 0;
    // Creates one folder whose parent must exist; false when it was not created.
    virtual bool MakeDirectory(const std::string& path) = 0;
    // Writes the content that source produces to a temporary file in path's folder, flushes it
    // when it replaces a file, and moves it over path in one step. On any failure, also an error
    // that source throws (which passes on), the file at path stays exactly as it was and the
    // temporary file is gone. A file that a running program holds refuses the move.
    virtual WriteResult WriteWholeFile(const std::string& path, const ContentSource& source) = 0;

    // Bytes available to this user on the volume that holds path (an existing folder); nothing
    // when the platform cannot tell.
    virtual std::optional<std::uint64_t> FreeSpace(const std::string& path) const = 0;
    // Whether the drive with that letter is a fixed local disk (not removable, network or absent).
    virtual bool IsFixedDrive(char letter) const = 0;

    // WriteWholeFile with a content already in memory.
    WriteResult WriteFileBytes(const std::string& path, std::span<const std::uint8_t> bytes) {
        return WriteWholeFile(path, [bytes](const ByteSink& sink) { sink(bytes); });
    }

    // Creates the folder with every missing level, outermost first. True when it exists afterwards.
    bool ForceDirectories(std::string_view path) {
        while (!path.empty() && text::FindLastChar(path, '\\') == path.size() - 1)
            path.remove_suffix(1);
        if (path.empty()) return false;
        // The server and share of a network path are never created, nor is a drive root.
        std::size_t fixed_end = 0;
        if (path.starts_with("\\\\")) {
            fixed_end = text::FindChar(path, '\\', 2);
            if (fixed_end != std::string_view::npos)
                fixed_end = text::FindChar(path, '\\', fixed_end + 1);
            if (fixed_end == std::string_view::npos) fixed_end = path.size();
        }
        // Levels end where a component ends; an empty component (a run of separators) adds none.
        for (std::size_t start = 0, end;; start = end + 1) {
            end = text::FindChar(path, '\\', start);
            std::string level(path.substr(0, end));
            bool fixed = level.size() <= fixed_end || level.back() == ':' || end == start;
            if (!fixed && !DirectoryExists(level)) MakeDirectory(level);
            if (end == std::string_view::npos) break;
        }
        return DirectoryExists(std::string(path));
    }
};

}  // namespace setup
