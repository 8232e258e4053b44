// The registry through the Win32 registry functions, always in the 32-bit view (KEY_WOW64_32KEY),
// so a 64-bit build reads and writes the same records as the 32-bit installer.
#pragma once

#include "platform/registry.h"

namespace setup {

class Win32Registry final : public Registry {
public:
    std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root, std::string_view path,
                                         bool create) override;
    bool KeyExists(RegistryRoot root, std::string_view path) const override;
};

}  // namespace setup
