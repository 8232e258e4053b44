// A modal input box: caption, prompt, one line of text, OK and Cancel.
#pragma once

#include <windows.h>

#include <string>

namespace setup::win32 {

// The text typed, or default_text when the box is cancelled or closed.
std::string InputBox(HWND owner, const std::string& caption, const std::string& prompt,
                     const std::string& default_text);

}  // namespace setup::win32
