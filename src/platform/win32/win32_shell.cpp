#include "platform/win32/win32_shell.h"

#include <windows.h>
// after windows.h, which it needs
#include <shlobj.h>

#include "platform/error.h"
#include "platform/text.h"
#include "platform/win32/handles.h"
#include "platform/win32/system_message.h"

namespace setup {
namespace {

using UniqueItemIdList = win32::ScopedHandle<win32::CoTaskMemTraits<LPITEMIDLIST>>;

std::wstring Widen(const std::string& ansi) {
    int length = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, wide.data(), length);
    wide.resize(static_cast<std::size_t>(length) - 1);
    return wide;
}

// The system's text for a COM failure, as the runtime library reports it.
RuntimeError ComError(HRESULT hr) {
    std::string text = win32::SystemMessage(static_cast<DWORD>(hr));
    return {ErrorKind::Shell, text.empty() ? "Error" : text, static_cast<std::uint32_t>(hr)};
}

// The shell link object with its file interface; failing to get either throws.
struct LinkObject {
    win32::ComPtr<IShellLinkA> link;
    win32::ComPtr<IPersistFile> file;

    LinkObject() {
        HRESULT hr =
            CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                             IID_IShellLinkA, link.receive());
        if (FAILED(hr)) throw ComError(hr);
        hr = link->QueryInterface(IID_IPersistFile, file.receive());
        if (FAILED(hr)) throw ComError(hr);
    }
};

template <std::size_t N, typename Getter>
std::string GetText(Getter getter) {
    char buffer[N] = {};
    if (FAILED(getter(buffer, static_cast<int>(N)))) return {};
    return std::string(buffer, strnlen(buffer, N));
}

}  // namespace

Result Win32Shell::WriteShellLink(const ShellLinkProperties& props, const std::string& link_path) {
    LinkObject object;
    IShellLinkA* link = object.link.get();
    link->SetPath(props.target.c_str());
    link->SetArguments(props.arguments.c_str());
    link->SetDescription(props.description.c_str());
    link->SetWorkingDirectory(props.working_directory.c_str());
    if (!props.icon_path.empty()) link->SetIconLocation(props.icon_path.c_str(), props.icon_index);
    const HRESULT hr = object.file->Save(Widen(link_path).c_str(), FALSE);
    return SUCCEEDED(hr) ? Result::Ok() : Result::Failed(static_cast<std::uint32_t>(hr));
}

std::optional<ShellLinkProperties> ReadShellLink(const std::string& link_path) {
    LinkObject object;
    if (FAILED(object.file->Load(Widen(link_path).c_str(), STGM_READ))) return std::nullopt;
    IShellLinkA* link = object.link.get();
    ShellLinkProperties props;
    props.target = GetText<MAX_PATH>(
        [&](char* b, int n) { return link->GetPath(b, n, nullptr, SLGP_RAWPATH); });
    props.arguments =
        GetText<INFOTIPSIZE>([&](char* b, int n) { return link->GetArguments(b, n); });
    props.description =
        GetText<INFOTIPSIZE>([&](char* b, int n) { return link->GetDescription(b, n); });
    props.working_directory =
        GetText<MAX_PATH>([&](char* b, int n) { return link->GetWorkingDirectory(b, n); });
    props.icon_path = GetText<MAX_PATH>(
        [&](char* b, int n) { return link->GetIconLocation(b, n, &props.icon_index); });
    return props;
}

std::optional<std::string> Win32Shell::SpecialFolder(int csidl, WindowHandle owner) const {
    UniqueItemIdList items;
    if (FAILED(SHGetSpecialFolderLocation(reinterpret_cast<HWND>(owner), csidl, items.receive())))
        return std::nullopt;
    char path[MAX_PATH] = {};
    if (!items || !SHGetPathFromIDListA(items.get(), path) || path[0] == '\0') return std::nullopt;
    return std::string(path);
}

Result Win32Shell::Execute(WindowHandle owner, std::string_view verb, std::string_view file,
                           std::string_view parameters, std::string_view directory, int show) {
    std::string verb_z(verb), file_z(file), parameters_z(parameters), directory_z(directory);
    HINSTANCE result = ShellExecuteA(reinterpret_cast<HWND>(owner), verb_z.c_str(), file_z.c_str(),
                                     parameters_z.c_str(), directory_z.c_str(), show);
    // ShellExecute reports failure as a small number, a Win32 error code for most causes.
    const INT_PTR code = reinterpret_cast<INT_PTR>(result);
    return code > 32 ? Result::Ok() : Result::Failed(static_cast<std::uint32_t>(code));
}

std::string Win32Shell::LocalDate() const {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return text::Digits(now.wYear, 4) + text::Digits(now.wMonth, 2) + text::Digits(now.wDay, 2);
}

std::string Win32Shell::SystemDirectory() const {
    char path[MAX_PATH] = {};
    UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return std::string(path, length);
}

}  // namespace setup
