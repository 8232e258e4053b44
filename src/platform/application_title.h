// The installer's title: the taskbar text of the program, the caption of its main window and of
// its plain message boxes. Written here once.
#pragma once

namespace setup {

inline constexpr char kApplicationTitle[] = "TessikOne软件";

}  // namespace setup
