// The executable's resources through the Win32 resource functions.
#pragma once

#include <windows.h>

#include <mutex>

#include "platform/resources.h"
#include "platform/win32/handles.h"

namespace setup {

class Win32Resources final : public Resources {
public:
    // The default is the executable's own module.
    explicit Win32Resources(HMODULE module = nullptr) : module_(module) {}

    std::string LoadLine(unsigned id) const override;
    std::optional<Bytes> Find(std::string_view type, std::string_view name) const override;
    bool ReadThrough(std::string_view type, std::string_view name,
                     const ByteSink& sink) const override;

private:
    // The module's file, opened once for every read through it (threads may read at once: each
    // read names its own offset).
    HANDLE File() const;

    HMODULE module_;
    mutable std::once_flag opened_;
    mutable win32::UniqueHandle file_;
};

}  // namespace setup
