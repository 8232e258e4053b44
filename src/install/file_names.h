// Parts of file paths, found by characters of code page 936 (a second byte 0x5C is no separator).
#pragma once

#include <string>
#include <string_view>

namespace setup {

// Up to and including the last "\" or ":"; "" when there is none.
std::string ExtractFilePath(std::string_view path);
// What follows the last "\" or ":".
std::string ExtractFileName(std::string_view path);
// Replaces the extension of the file name part (from its last "."), or appends ext when it has
// none.
std::string ChangeFileExt(std::string_view path, std::string_view ext);
// The path in double quotes when it contains a blank, as command lines need it; else unchanged.
std::string QuoteIfBlank(std::string_view path);

}  // namespace setup
