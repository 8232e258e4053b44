#include "platform/win32/win32_resources.h"

#include <cstring>

namespace setup {

std::string Win32Resources::LoadLine(unsigned id) const {
    char buffer[kStringLineMax + 1];
    int copied = LoadStringA(module_, id, buffer, sizeof buffer);
    if (copied <= 0) return {};
    return std::string(buffer, strnlen(buffer, static_cast<std::size_t>(copied)));
}

// Resource memory belongs to the module for its whole life: nothing to release here.
std::optional<Bytes> Win32Resources::Find(std::string_view type, std::string_view name) const {
    const std::string type_text(type), name_text(name);
    HRSRC info = FindResourceA(module_, name_text.c_str(), type_text.c_str());
    if (!info) return std::nullopt;
    HGLOBAL loaded = LoadResource(module_, info);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return std::nullopt;
    return Bytes(static_cast<const std::uint8_t*>(data), SizeofResource(module_, info));
}

}  // namespace setup
