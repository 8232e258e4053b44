// SHA-256 of a file, as winget checks a downloaded installer against its manifest.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace pack {

// 64 upper-case hex digits.
std::string Sha256Hex(std::string_view bytes);

// Nothing when the file cannot be read.
std::optional<std::string> FileSha256Hex(const std::filesystem::path& file);

}  // namespace pack
