// The checksum resource: the installer compares every framed resource with it before it shows
// anything. "TSUM", the record count, then per record the framed size and the CRC-32 of the
// framed bytes (32-bit little-endian); the payload entries in order, then the skin, then the
// licence.
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
