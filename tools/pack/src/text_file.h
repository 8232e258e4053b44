// Reading the UTF-8 input files: whole files, an optional byte order mark, LF or CR LF lines.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pack {

// The whole file, or nothing when it cannot be opened or read; then error, when given, gets the
// system's reason.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path,
                                         std::string* error = nullptr);

// Drops a leading UTF-8 byte order mark, which Windows editors like to add.
std::string_view StripBom(std::string_view text);

// Splits at LF and drops one CR before each LF. Text after the last LF is a line of its own; the
// empty text after a final LF is not.
std::vector<std::string_view> SplitLines(std::string_view text);

// True when the text holds nothing but codes 0 to 32, which the installer trims away.
bool IsBlank(std::string_view text);

// Writes text to path only when the file does not already hold exactly it, so tools that watch
// the file's time (windres, the linker) do not run again for nothing. The text goes to path.tmp
// first and is renamed, so path is never half written. False with error ("path: reason") on
// failure, and then no path.tmp is left behind.
bool WriteIfChanged(const std::filesystem::path& path, std::string_view text, bool& written,
                    std::string& error);

}  // namespace pack
