#include "platform/win32/win32_registry.h"

#include <windows.h>

#include <algorithm>

#include "platform/error.h"
#include "platform/win32/handles.h"

namespace setup {
namespace {

constexpr REGSAM kView = KEY_WOW64_32KEY;

HKEY RootKey(RegistryRoot root) {
    return root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

class Win32RegistryKey final : public RegistryKey {
public:
    explicit Win32RegistryKey(HKEY key) : key_(key) {}

    void WriteString(std::string_view name, std::string_view value) override {
        const std::string data(value);
        // REG_SZ data counts its terminating NUL.
        Write(name, REG_SZ, data.c_str(), data.size() + 1);
    }

    void WriteNumber(std::string_view name, std::uint32_t value) override {
        const DWORD data = value;
        Write(name, REG_DWORD, &data, sizeof data);
    }

    std::string ReadString(std::string_view name) const override {
        if (!key_) return {};
        std::string name_z(name);
        DWORD type = 0, size = 0;
        if (RegQueryValueExA(key_.get(), name_z.c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS)
            return {};
        if (type != REG_SZ && type != REG_EXPAND_SZ) throw InvalidDataType(name_z);
        std::string data;
        LONG status;
        do {  // the value may grow between the two queries
            data.resize(size);
            status = RegQueryValueExA(key_.get(), name_z.c_str(), nullptr, &type,
                                      reinterpret_cast<BYTE*>(data.data()), &size);
        } while (status == ERROR_MORE_DATA);
        if (status != ERROR_SUCCESS) return {};
        data.resize(std::min<std::size_t>(size, data.size()));
        return data.substr(0, data.find('\0'));
    }

    bool ValueExists(std::string_view name) const override {
        std::string name_z(name);
        return key_ && RegQueryValueExA(key_.get(), name_z.c_str(), nullptr, nullptr, nullptr,
                                        nullptr) == ERROR_SUCCESS;
    }

    Result DeleteValue(std::string_view name) override {
        std::string name_z(name);
        if (!key_) return Result::Failed(ERROR_INVALID_HANDLE);
        const LONG status = RegDeleteValueA(key_.get(), name_z.c_str());
        return status == ERROR_SUCCESS ? Result::Ok()
                                       : Result::Failed(static_cast<std::uint32_t>(status));
    }

    void Close(bool flush) override {
        if (key_ && flush) RegFlushKey(key_.get());
        key_.reset();
    }

private:
    void Write(std::string_view name, DWORD type, const void* data, std::size_t size) {
        const std::string name_z(name);
        if (!key_) throw FailedToSetData(name_z, ERROR_INVALID_HANDLE);
        const LONG status = RegSetValueExA(key_.get(), name_z.c_str(), 0, type,
                                           static_cast<const BYTE*>(data),
                                           static_cast<DWORD>(size));
        if (status != ERROR_SUCCESS)
            throw FailedToSetData(name_z, static_cast<std::uint32_t>(status));
    }

    win32::UniqueKey key_;
};

}  // namespace

std::unique_ptr<RegistryKey> Win32Registry::OpenKey(RegistryRoot root, std::string_view path,
                                                    bool create) {
    std::string path_z(path);
    HKEY key = nullptr;
    LONG status =
        create ? RegCreateKeyExA(RootKey(root), path_z.c_str(), 0, nullptr, 0,
                                 KEY_ALL_ACCESS | kView, nullptr, &key, nullptr)
               : RegOpenKeyExA(RootKey(root), path_z.c_str(), 0, KEY_ALL_ACCESS | kView, &key);
    if (status != ERROR_SUCCESS) return nullptr;
    return std::make_unique<Win32RegistryKey>(key);
}

bool Win32Registry::KeyExists(RegistryRoot root, std::string_view path) const {
    std::string path_z(path);
    win32::UniqueKey key;
    return RegOpenKeyExA(RootKey(root), path_z.c_str(), 0, KEY_READ | kView, key.receive()) ==
           ERROR_SUCCESS;
}

}  // namespace setup
