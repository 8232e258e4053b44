#include "doubles/memory_registry.h"

#include "platform/error.h"
#include "platform/text.h"

namespace setup {

class MemoryRegistryKey final : public RegistryKey {
public:
    MemoryRegistryKey(MemoryRegistry& registry, MemoryRegistry::KeyId id, std::string path)
        : registry_(&registry), id_(std::move(id)), path_(std::move(path)) {}
    ~MemoryRegistryKey() override { Close(false); }

    void WriteString(std::string_view name, std::string_view value) override {
        Write(name, {kRegString, std::string(value)});
    }

    // Stored as the platform stores it: four bytes, least significant first.
    void WriteNumber(std::string_view name, std::uint32_t value) override {
        std::string data;
        for (int shift = 0; shift < 32; shift += 8) data += static_cast<char>(value >> shift);
        Write(name, {kRegNumber, data});
    }

    std::string ReadString(std::string_view name) const override {
        if (!registry_) return {};
        auto it = Stored().find(text::AsciiUpper(name));
        if (it == Stored().end()) return {};
        if (it->second.type != kRegString && it->second.type != kRegExpandString)
            throw InvalidDataType(name);
        const std::string& data = it->second.data;
        return data.substr(0, data.find('\0'));
    }

    bool ValueExists(std::string_view name) const override {
        return registry_ && Stored().contains(text::AsciiUpper(name));
    }

    Result DeleteValue(std::string_view name) override {
        constexpr std::uint32_t kFileNotFound = 2;
        if (registry_ && Stored().erase(text::AsciiUpper(name)) > 0) return Result::Ok();
        return Result::Failed(kFileNotFound);
    }

    void Close(bool flush) override {
        if (registry_ && flush) registry_->flushed_.push_back(path_);
        registry_ = nullptr;
    }

private:
    MemoryRegistry::Values& Stored() const { return registry_->keys_[id_]; }

    void Write(std::string_view name, MemoryRegistry::StoredValue value) {
        if (!registry_ || registry_->refusals_[id_.first].write)
            throw FailedToSetData(name, 5);  // access denied
        Stored()[text::AsciiUpper(name)] = std::move(value);
    }

    MemoryRegistry* registry_;
    MemoryRegistry::KeyId id_;
    std::string path_;
};

MemoryRegistry::KeyId MemoryRegistry::Id(RegistryRoot root, std::string_view path) {
    return {root, text::AsciiUpper(path)};
}

void MemoryRegistry::AddKey(RegistryRoot root, std::string_view path) {
    keys_[Id(root, path)];
}

void MemoryRegistry::SetRawValue(RegistryRoot root, std::string_view path, std::string_view name,
                                 std::uint32_t type, std::string data) {
    keys_[Id(root, path)][text::AsciiUpper(name)] = {type, std::move(data)};
}

std::optional<std::string> MemoryRegistry::Value(RegistryRoot root, std::string_view path,
                                                 std::string_view name) const {
    auto key = keys_.find(Id(root, path));
    if (key == keys_.end()) return std::nullopt;
    auto value = key->second.find(text::AsciiUpper(name));
    if (value == key->second.end()) return std::nullopt;
    return value->second.data;
}

std::optional<std::uint32_t> MemoryRegistry::Number(RegistryRoot root, std::string_view path,
                                                    std::string_view name) const {
    auto key = keys_.find(Id(root, path));
    if (key == keys_.end()) return std::nullopt;
    auto value = key->second.find(text::AsciiUpper(name));
    if (value == key->second.end() || value->second.type != kRegNumber) return std::nullopt;
    std::uint32_t number = 0;
    for (int i = 3; i >= 0; --i)
        number = number << 8 | static_cast<unsigned char>(value->second.data[i]);
    return number;
}

bool MemoryRegistry::HasKey(RegistryRoot root, std::string_view path) const {
    return keys_.contains(Id(root, path));
}

std::unique_ptr<RegistryKey> MemoryRegistry::OpenKey(RegistryRoot root, std::string_view path,
                                                     bool create) {
    KeyId id = Id(root, path);
    const Refusals& refused = refusals_[root];
    if (keys_.contains(id)) {
        if (refused.open) return nullptr;
    } else {
        if (!create || refused.create) return nullptr;
        keys_[id];
    }
    return std::make_unique<MemoryRegistryKey>(*this, std::move(id), std::string(path));
}

bool MemoryRegistry::KeyExists(RegistryRoot root, std::string_view path) const {
    return keys_.contains(Id(root, path));
}

}  // namespace setup
