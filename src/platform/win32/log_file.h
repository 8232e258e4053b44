// The log file: UTF-8 text, one line per event. Lines come in the system code page and are
// converted on their way out.
#pragma once

#include <string>
#include <string_view>

#include "platform/win32/handles.h"

namespace setup::win32 {

// A file that cannot be made leaves the log unwritable, and every line then reports it.
class LogFile {
public:
    // The file the user named: created, or replaced when it exists.
    explicit LogFile(const std::string& path);
    // Where /LOG without a name writes: a new file of the folder (the temporary folder by
    // default), TessikSetup-<process id>-<n>.log, under a name nothing had. The temporary folder
    // of a deployment tool running as SYSTEM is open to every user: a file or link planted there
    // is never opened.
    static LogFile CreateNew(const std::string& folder = TemporaryFolder());

    bool WriteLine(std::string_view line);
    bool Open() const { return file_.valid(); }
    const std::string& Path() const { return path_; }

    static std::string TemporaryFolder();

private:
    LogFile(UniqueHandle file, std::string path) : file_(std::move(file)), path_(std::move(path)) {}

    UniqueHandle file_;
    std::string path_;
};

// Seconds on a steady clock, for the log's time offsets.
double SteadySeconds();

}  // namespace setup::win32
