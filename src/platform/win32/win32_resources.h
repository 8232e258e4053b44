// The executable's resources through the Win32 resource functions.
#pragma once

#include <windows.h>

#include "platform/resources.h"
#include "platform/win32/handles.h"

namespace setup {

class Win32Resources final : public Resources {
public:
    // The default is the executable's own module. Its file is opened here, once, and kept open
    // denying others to write, rename or delete it: every read goes through this one handle, so
    // what the check before page 1 read is what the copying installs, even when the file's name
    // is given to another file later.
    explicit Win32Resources(HMODULE module = nullptr);

    std::string LoadLine(unsigned id) const override;
    std::optional<Bytes> Find(std::string_view type, std::string_view name) const override;
    // False also when the file under the module's name was not the module's own (another file
    // put in its place before it was opened): its bytes are never read.
    bool ReadThrough(std::string_view type, std::string_view name,
                     const ByteSink& sink) const override;

private:
    HMODULE module_;
    win32::UniqueHandle file_;  // none when it could not be opened or was not the module's
};

}  // namespace setup
