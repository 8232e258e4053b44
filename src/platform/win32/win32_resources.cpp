#include "platform/win32/win32_resources.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/win32/handles.h"

namespace setup {

namespace {

// A module loaded as a data file has its handle's low bits set.
const std::uint8_t* ImageBase(HMODULE module) {
    return reinterpret_cast<const std::uint8_t*>(reinterpret_cast<std::uintptr_t>(module) &
                                                 ~std::uintptr_t{3});
}

// Where the bytes at an address of the module's image lie in its file: through the section that
// holds them. A module loaded as a data file (its handle's low bits set) maps the file as it is.
// Nothing when the address lies in no section's file data.
std::optional<LONGLONG> FileOffsetOf(HMODULE module, const void* address, std::size_t size) {
    const auto* base = ImageBase(module);
    if (reinterpret_cast<std::uintptr_t>(module) & 3)
        return static_cast<const std::uint8_t*>(address) - base;
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

// Reads size bytes at offset of a file that several threads read at once: each read names its
// own offset, so none depends on a shared file position.
bool ReadAt(HANDLE file, LONGLONG offset, void* into, DWORD size, DWORD& got) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(static_cast<ULONGLONG>(offset) >> 32);
    got = 0;
    return ReadFile(file, into, size, &got, &at) != FALSE;
}

// Whether the file holds the module's image: the same file header (time stamp and sizes), the
// same checksum and image size, the same section table. A different build put under the
// module's name differs in them; its payload would also fail the module's own checksum table.
bool HoldsImageOf(HANDLE file, HMODULE module) {
    const std::uint8_t* base = ImageBase(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    if (dos->e_magic != IMAGE_DOS_SIGNATURE) return false;
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    if (nt->Signature != IMAGE_NT_SIGNATURE) return false;
    const auto* sections = reinterpret_cast<const std::uint8_t*>(IMAGE_FIRST_SECTION(nt));
    const std::size_t end = static_cast<std::size_t>(sections - base) +
                            nt->FileHeader.NumberOfSections * sizeof(IMAGE_SECTION_HEADER);
    std::vector<std::uint8_t> head(end);
    DWORD got = 0;
    if (!ReadAt(file, 0, head.data(), static_cast<DWORD>(end), got) || got != end) return false;
    // The loader leaves these alone in memory; the image base may change, so it is not compared.
    auto same = [&](const void* field, std::size_t size) {
        const std::size_t at = static_cast<const std::uint8_t*>(field) - base;
        return std::memcmp(head.data() + at, field, size) == 0;
    };
    return same(&nt->Signature, sizeof nt->Signature + sizeof nt->FileHeader) &&
           same(&nt->OptionalHeader.CheckSum, sizeof nt->OptionalHeader.CheckSum) &&
           same(&nt->OptionalHeader.SizeOfImage, sizeof nt->OptionalHeader.SizeOfImage) &&
           same(sections, end - static_cast<std::size_t>(sections - base));
}

// The module's file, opened for reading while nobody else may write, rename or delete it; none
// when that fails or the file under the name is not the module's.
win32::UniqueHandle OpenImageFile(HMODULE module) {
    const std::wstring path = ModulePath(module);
    if (path.empty()) return {};
    win32::UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                         OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file || !HoldsImageOf(file.get(), module)) return {};
    return file;
}

}  // namespace

Win32Resources::Win32Resources(HMODULE module)
    : module_(module), file_(OpenImageFile(module ? module : GetModuleHandleA(nullptr))) {}

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
    if (!mapped || !file_) return false;
    HMODULE module = module_ ? module_ : GetModuleHandleA(nullptr);
    std::optional<LONGLONG> offset = FileOffsetOf(module, mapped->data(), mapped->size());
    if (!offset) return false;
    std::vector<std::uint8_t> buffer(1u << 16);
    for (std::size_t left = mapped->size(); left > 0;) {
        DWORD want = static_cast<DWORD>(std::min(left, buffer.size())), got = 0;
        if (!ReadAt(file_.get(), *offset, buffer.data(), want, got) || got == 0) return false;
        if (!sink(Bytes(buffer.data(), got))) return false;
        left -= got;
        *offset += got;
    }
    return true;
}

}  // namespace setup
