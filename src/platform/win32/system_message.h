// The system's own text for an error code, for messages and logs.
#pragma once

#include <windows.h>

#include <string>

namespace setup::win32 {

// The text FormatMessage gives for a Win32 error or an HRESULT, without its line end; "" when the
// system has none.
std::string SystemMessage(DWORD code);

}  // namespace setup::win32
