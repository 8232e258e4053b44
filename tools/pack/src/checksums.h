// The checksum resource (format/checksums.h) of the framed files: the installer compares every
// framed resource with it before it shows anything.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace pack {

inline constexpr char kChecksumOutputName[] = "MainSum.bin";

// The resource's bytes for the framed files, in order; nothing when one cannot be read (error
// then says which, with the system's reason).
std::optional<std::string> BuildChecksums(const std::vector<std::filesystem::path>& framed,
                                          std::string& error);

}  // namespace pack
