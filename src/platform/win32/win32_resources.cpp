#include "platform/win32/win32_resources.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/win32/handles.h"

namespace setup {

namespace {

// Where the bytes at an address of the module's image lie in its file: through the section that
// holds them. A module loaded as a data file (its handle's low bits set) maps the file as it is.
// Nothing when the address lies in no section's file data.
std::optional<LONGLONG> FileOffsetOf(HMODULE module, const void* address, std::size_t size) {
    const auto handle = reinterpret_cast<std::uintptr_t>(module);
    const auto* base = reinterpret_cast<const std::uint8_t*>(handle & ~std::uintptr_t{3});
    if (handle & 3) return static_cast<const std::uint8_t*>(address) - base;
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    if (dos->e_magic != IMAGE_DOS_SIGNATURE) return std::nullopt;
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    if (nt->Signature != IMAGE_NT_SIGNATURE) return std::nullopt;
    const std::uintptr_t rva = static_cast<const std::uint8_t*>(address) - base;
    const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
        const std::uintptr_t start = section->VirtualAddress;
        if (rva >= start && rva + size <= start + section->SizeOfRawData)
            return static_cast<LONGLONG>(section->PointerToRawData + (rva - start));
    }
    return std::nullopt;
}

std::wstring ModulePath(HMODULE module) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) return path.substr(0, length);
        path.resize(path.size() * 2);
    }
}

}  // namespace

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

bool Win32Resources::ReadThrough(std::string_view type, std::string_view name,
                                 const ByteSink& sink) const {
    std::optional<Bytes> mapped = Find(type, name);
    if (!mapped) return false;
    HMODULE module = module_ ? module_ : GetModuleHandleA(nullptr);
    std::optional<LONGLONG> offset = FileOffsetOf(module, mapped->data(), mapped->size());
    std::wstring path = ModulePath(module);
    if (!offset || path.empty()) return false;
    win32::UniqueHandle file(CreateFileW(
        path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER at;
    at.QuadPart = *offset;
    if (!file || !SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN)) return false;
    std::vector<std::uint8_t> buffer(1u << 16);
    for (std::size_t left = mapped->size(); left > 0;) {
        DWORD want = static_cast<DWORD>(std::min(left, buffer.size())), got = 0;
        if (!ReadFile(file.get(), buffer.data(), want, &got, nullptr) || got == 0) return false;
        if (!sink(Bytes(buffer.data(), got))) return false;
        left -= got;
    }
    return true;
}

}  // namespace setup
