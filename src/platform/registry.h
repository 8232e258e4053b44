// The registry as the installer uses it: string and number values under HKEY_LOCAL_MACHINE and
// HKEY_CURRENT_USER, always in the 32-bit view, so 32- and 64-bit builds see the same records.
// Key paths and value names are compared without regard to case, as the registry does.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/error.h"

namespace setup {

enum class RegistryRoot { LocalMachine, CurrentUser };

// An open key with full access. Closing happens at destruction at the latest.
class RegistryKey {
public:
    virtual ~RegistryKey() = default;

    // Stores a plain string value (REG_SZ); a refused write throws RuntimeError ("Failed to set
    // data for '%s'", with the system's error code).
    virtual void WriteString(std::string_view name, std::string_view value) = 0;
    // Stores a 32-bit number (REG_DWORD); fails as WriteString does.
    virtual void WriteNumber(std::string_view name, std::uint32_t value) = 0;
    // A plain or expandable string as stored (no expansion), up to its first NUL; a missing
    // value gives "". A value of another type throws RuntimeError.
    virtual std::string ReadString(std::string_view name) const = 0;
    [[nodiscard]] virtual bool ValueExists(std::string_view name) const = 0;
    virtual Result DeleteValue(std::string_view name) = 0;
    // Closes the key, first writing it to storage when flush is set. Later calls do nothing.
    virtual void Close(bool flush) = 0;
};

class Registry {
public:
    virtual ~Registry() = default;

    // Opens the key with full access, creating it with its missing parents when create is set.
    // Never throws: a key that cannot be opened gives nullptr.
    [[nodiscard]] virtual std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root,
                                                               std::string_view path,
                                                               bool create) = 0;
    // Whether the key can be opened for reading.
    [[nodiscard]] virtual bool KeyExists(RegistryRoot root, std::string_view path) const = 0;
};

}  // namespace setup
