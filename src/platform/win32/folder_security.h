// The permissions the installer gives and looks at: the protected descriptor of a folder it
// creates, whether a folder lets ordinary users change it, and a replaced file's own permissions
// carried over to the file that replaces it.
#pragma once

#include <windows.h>

#include <string>

#include "platform/error.h"
#include "platform/win32/handles.h"

namespace setup::win32 {

// Administrators and the system full control, users read and execute, inherited by everything
// created inside and not from the parent: what the system's program folder grants.
UniqueSecurityDescriptor ProtectedFolderDescriptor();

// Whether an allowing entry of the folder's list gives users, authenticated users, the
// interactive users or everyone a right to change it or what it holds (also when it has no list
// at all). Deny entries are not weighed: the answer only decides whether the log warns.
bool LetsUsersWrite(const std::string& folder);

// Gives to (a file just written) the permissions of from when from has permissions of its own;
// a file that only inherits its folder's needs nothing, the new one inherits the same.
Result CopyOwnPermissions(const std::string& from, const std::string& to);

}  // namespace setup::win32
