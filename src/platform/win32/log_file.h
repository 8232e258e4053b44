// The log file: UTF-8 text, one line per event. Lines come in the system code page and are
// converted on their way out.
#pragma once

#include <string>
#include <string_view>

#include "platform/win32/handles.h"

namespace setup::win32 {

class LogFile {
public:
    // Creates (or replaces) the file; a file that cannot be made leaves the log unwritable, and
    // every line then reports it.
    explicit LogFile(const std::string& path);
    bool WriteLine(std::string_view line);
    bool Open() const { return file_.valid(); }

private:
    UniqueHandle file_;
};

// Where /LOG without a name writes: the user's temporary folder.
std::string DefaultLogPath();

// Seconds on a steady clock, for the log's time offsets.
double SteadySeconds();

}  // namespace setup::win32
