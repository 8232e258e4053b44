#include "platform/win32/pending_renames.h"

#include <windows.h>

#include <string_view>
#include <vector>

#include "platform/win32/handles.h"

namespace setup::win32 {

namespace {

constexpr wchar_t kSessionManager[] = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager";
constexpr wchar_t kPendingRenames[] = L"PendingFileRenameOperations";

// The list's texts: pairs of source and target, each "\??\C:\..." (a target may be empty, for a
// deletion, or start with "!", for a replacement).
std::vector<std::wstring> PendingTexts() {
    UniqueKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_QUERY_VALUE, key.receive()) !=
        ERROR_SUCCESS)
        return {};
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key.get(), kPendingRenames, nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS ||
        type != REG_MULTI_SZ)
        return {};
    std::wstring buffer(size / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(key.get(), kPendingRenames, nullptr, &type,
                         reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS)
        return {};
    buffer.resize(size / sizeof(wchar_t));
    // Empty texts are kept: they are the targets of deletions, and keep the pairs in step.
    std::vector<std::wstring> texts;
    for (std::size_t at = 0; at < buffer.size();) {
        const std::size_t end = buffer.find(L'\0', at);
        if (end == std::wstring::npos || (end == at && end + 1 >= buffer.size())) break;
        texts.emplace_back(buffer, at, end - at);
        at = end + 1;
    }
    return texts;
}

std::wstring Wide(const std::string& text) {
    const int length =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

}  // namespace

bool WaitsForRestart(const std::string& path) {
    const std::wstring wanted = Wide(path);
    const std::vector<std::wstring> texts = PendingTexts();
    for (std::size_t i = 0; i < texts.size(); i += 2) {
        std::wstring_view source = texts[i];
        if (source.starts_with(L"\\??\\")) source.remove_prefix(4);
        if (source.size() == wanted.size() &&
            CompareStringOrdinal(source.data(), static_cast<int>(source.size()), wanted.data(),
                                 static_cast<int>(wanted.size()), TRUE) == CSTR_EQUAL)
            return true;
    }
    return false;
}

}  // namespace setup::win32
