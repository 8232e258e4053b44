// An in-memory registry for the native tests. Key paths and value names compare without regard to
// ASCII case, as the platform's do; a root can be told to refuse opens, creates or writes, so the
// installer's messages for a registry without rights can be tested.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace setup {

// Value types the double stores (the platform's numbers).
constexpr std::uint32_t kRegString = 1;        // REG_SZ
constexpr std::uint32_t kRegExpandString = 2;  // REG_EXPAND_SZ
constexpr std::uint32_t kRegNumber = 4;        // REG_DWORD

class MemoryRegistry final : public Registry {
public:
    struct Refusals {
        bool open = false;    // existing keys cannot be opened with full access
        bool create = false;  // missing keys cannot be created
        bool write = false;   // values cannot be written
    };
    void Refuse(RegistryRoot root, Refusals refusals) { refusals_[root] = refusals; }

    // Test access, bypassing refusals.
    void AddKey(RegistryRoot root, std::string_view path);
    void SetRawValue(RegistryRoot root, std::string_view path, std::string_view name,
                     std::uint32_t type, std::string data);
    std::optional<std::string> Value(RegistryRoot root, std::string_view path,
                                     std::string_view name) const;
    // A REG_DWORD value; nothing when missing or of another type.
    std::optional<std::uint32_t> Number(RegistryRoot root, std::string_view path,
                                        std::string_view name) const;
    bool HasKey(RegistryRoot root, std::string_view path) const;
    // Key paths in the order they were closed with a flush.
    const std::vector<std::string>& Flushed() const { return flushed_; }

    std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root, std::string_view path,
                                         bool create) override;
    bool KeyExists(RegistryRoot root, std::string_view path) const override;

private:
    friend class MemoryRegistryKey;
    struct StoredValue {
        std::uint32_t type = kRegString;
        std::string data;
    };
    using Values = std::map<std::string, StoredValue>;   // by upper-cased name
    using KeyId = std::pair<RegistryRoot, std::string>;  // upper-cased path

    static KeyId Id(RegistryRoot root, std::string_view path);

    std::map<KeyId, Values> keys_;
    std::map<RegistryRoot, Refusals> refusals_;
    std::vector<std::string> flushed_;
};

}  // namespace setup
