#include "platform/win32/restart_manager.h"

#include <windows.h>
// after windows.h, which it needs
#include <restartmanager.h>

#include "platform/win32/system_library.h"

namespace setup::win32 {

namespace {

using StartSession = DWORD WINAPI(DWORD*, DWORD, WCHAR*);
using RegisterResources = DWORD WINAPI(DWORD, UINT, LPCWSTR*, UINT, RM_UNIQUE_PROCESS*, UINT,
                                       LPCWSTR*);
using GetList = DWORD WINAPI(DWORD, UINT*, UINT*, RM_PROCESS_INFO*, DWORD*);
using EndSession = DWORD WINAPI(DWORD);

// rstrtmgr is no known DLL: it is loaded from the system folder only, never from the folder the
// installer was started from, and only when a file is found held.
struct RestartManager {
    SystemLibrary library{"rstrtmgr.dll"};
    StartSession* start = library.Find<StartSession>("RmStartSession");
    RegisterResources* register_resources =
        library.Find<RegisterResources>("RmRegisterResources");
    GetList* get_list = library.Find<GetList>("RmGetList");
    EndSession* end = library.Find<EndSession>("RmEndSession");
    bool usable() const { return start && register_resources && get_list && end; }
};

// One session, ended whatever happens.
class Session {
public:
    explicit Session(const RestartManager& rm) : rm_(rm) {
        WCHAR key[CCH_RM_SESSION_KEY + 1] = {};
        open_ = rm_.start(&handle_, 0, key) == ERROR_SUCCESS;
    }
    ~Session() {
        if (open_) rm_.end(handle_);
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    bool open() const { return open_; }
    DWORD handle() const { return handle_; }

private:
    const RestartManager& rm_;
    DWORD handle_ = 0;
    bool open_ = false;
};

std::wstring Wide(const std::string& text) {
    int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length);
    wide.resize(static_cast<std::size_t>(length - 1));
    return wide;
}

}  // namespace

std::vector<std::uint32_t> RestartManagerHolders(const std::string& path) {
    std::vector<std::uint32_t> ids;
    const RestartManager rm;
    if (!rm.usable()) return ids;
    const Session session(rm);
    if (!session.open()) return ids;
    const std::wstring file = Wide(path);
    LPCWSTR files[] = {file.c_str()};
    if (rm.register_resources(session.handle(), 1, files, 0, nullptr, 0, nullptr) !=
        ERROR_SUCCESS)
        return ids;
    // The list can grow between the two calls: ask again, a few times at most.
    std::vector<RM_PROCESS_INFO> found(8);
    for (int attempt = 0; attempt < 4; ++attempt) {
        UINT needed = 0, count = static_cast<UINT>(found.size());
        DWORD reasons = 0;
        DWORD status = rm.get_list(session.handle(), &needed, &count, found.data(), &reasons);
        if (status == ERROR_MORE_DATA) {
            found.resize(needed + 4);
            continue;
        }
        if (status != ERROR_SUCCESS) return ids;
        for (UINT i = 0; i < count && i < found.size(); ++i)
            ids.push_back(found[i].Process.dwProcessId);
        break;
    }
    return ids;
}

}  // namespace setup::win32
