// A window as the portable layers see it: an opaque value that only the Win32 layer turns back
// into a window handle. 0 stands for "no window".
#pragma once

#include <cstdint>

namespace setup {

using WindowHandle = std::uintptr_t;

}  // namespace setup
