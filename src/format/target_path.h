// The rules a payload entry's relative target path must follow to be installed safely below the
// installation directory, on the builder's side and the installer's alike. The path is split
// at "\" by the caller, by characters of its own encoding (UTF-8 for the builder, code page 936
// in the installer, where a "\" byte may be the second of a character).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace setup::format {

inline constexpr char kPathSeparator = '\\';

// Why the path cannot be relative to the installation directory: a drive ("C:") or a leading
// "\". Nothing when it is fine.
std::optional<std::string> TargetPathStartProblem(std::string_view path);

// Why one folder or file name of a target path is not one that Windows keeps as written: empty,
// "." or "..", a blank at either end or a "." at the end (Windows drops them and the file lands
// under another name), a control character, one of < > : " / ? * (":" names a drive or a stream,
// "/" is a separator), or a device name (CON, PRN, AUX, NUL, COM1-9, LPT1-9, also with an
// extension: Windows opens the device instead of a file). "|" is left to the caller's character
// scan: in code page 936 its byte may be the second of a character. Nothing when it is fine.
std::optional<std::string> TargetComponentProblem(std::string_view component);

// Whether Windows opens a device for this name, whatever follows its first dot.
bool IsDeviceName(std::string_view component);

}  // namespace setup::format
