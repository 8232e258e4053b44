#include "platform/win32/folder_security.h"

#include <aclapi.h>
#include <sddl.h>

#include <array>

namespace setup::win32 {

namespace {

// Full control (FA) for administrators (BA) and the system (SY); read and execute (0x1200A9:
// FILE_GENERIC_READ | FILE_GENERIC_EXECUTE) for users (BU); "P": not inherited from the parent;
// OICI: passed on to files and folders inside.
constexpr char kProtectedFolderSddl[] =
    "D:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)";

// Any right that changes the folder, its entries or its permissions.
constexpr DWORD kChangingRights = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_DELETE_CHILD |
                                  FILE_WRITE_EA | FILE_WRITE_ATTRIBUTES | DELETE | WRITE_DAC |
                                  WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;

bool IsOrdinaryUsers(PSID sid) {
    for (WELL_KNOWN_SID_TYPE type :
         {WinBuiltinUsersSid, WinAuthenticatedUserSid, WinInteractiveSid, WinWorldSid}) {
        std::array<BYTE, SECURITY_MAX_SID_SIZE> known{};
        DWORD size = static_cast<DWORD>(known.size());
        if (CreateWellKnownSid(type, nullptr, known.data(), &size) && EqualSid(sid, known.data()))
            return true;
    }
    return false;
}

// The descriptor's list and control bits, read by name.
struct Permissions {
    UniqueSecurityDescriptor descriptor;
    PACL dacl = nullptr;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
};

bool ReadPermissions(const std::string& path, Permissions& out) {
    if (GetNamedSecurityInfoA(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                              nullptr, &out.dacl, nullptr,
                              out.descriptor.receive()) != ERROR_SUCCESS)
        return false;
    DWORD revision = 0;
    return GetSecurityDescriptorControl(out.descriptor.get(), &out.control, &revision);
}

bool HasOwnEntries(PACL dacl) {
    for (DWORD i = 0; dacl && i < dacl->AceCount; ++i) {
        ACE_HEADER* header = nullptr;
        if (GetAce(dacl, i, reinterpret_cast<void**>(&header)) &&
            !(header->AceFlags & INHERITED_ACE))
            return true;
    }
    return false;
}

}  // namespace

UniqueSecurityDescriptor ProtectedFolderDescriptor() {
    UniqueSecurityDescriptor descriptor;
    ConvertStringSecurityDescriptorToSecurityDescriptorA(kProtectedFolderSddl, SDDL_REVISION_1,
                                                         descriptor.receive(), nullptr);
    return descriptor;
}

bool LetsUsersWrite(const std::string& folder) {
    Permissions permissions;
    if (!ReadPermissions(folder, permissions)) return false;
    if (!permissions.dacl) return true;  // no list: everyone may do everything
    for (DWORD i = 0; i < permissions.dacl->AceCount; ++i) {
        ACE_HEADER* header = nullptr;
        if (!GetAce(permissions.dacl, i, reinterpret_cast<void**>(&header))) continue;
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE || (header->AceFlags & INHERIT_ONLY_ACE))
            continue;
        auto* allowed = reinterpret_cast<ACCESS_ALLOWED_ACE*>(header);
        if ((allowed->Mask & kChangingRights) && IsOrdinaryUsers(&allowed->SidStart)) return true;
    }
    return false;
}

Result CopyOwnPermissions(const std::string& from, const std::string& to) {
    Permissions permissions;
    // Unreadable permissions are left to the folder's inheritance, as any new file.
    if (!ReadPermissions(from, permissions)) return Result::Ok();
    const bool protect = permissions.control & SE_DACL_PROTECTED;
    if (!protect && !HasOwnEntries(permissions.dacl)) return Result::Ok();
    const SECURITY_INFORMATION what =
        DACL_SECURITY_INFORMATION |
        (protect ? PROTECTED_DACL_SECURITY_INFORMATION : UNPROTECTED_DACL_SECURITY_INFORMATION);
    std::string name = to;  // the call takes a writable string
    const DWORD set = SetNamedSecurityInfoA(name.data(), SE_FILE_OBJECT, what, nullptr, nullptr,
                                            permissions.dacl, nullptr);
    return set == ERROR_SUCCESS ? Result::Ok() : Result::Failed(set);
}

}  // namespace setup::win32
