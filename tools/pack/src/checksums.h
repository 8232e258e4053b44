// The checksum resource (format/checksums.h) of the framed files: the installer compares every
// framed resource with it before it shows anything.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "format/checksums.h"

namespace pack {

// The resource's bytes for the framed files, in order, after the leading records (a solid
// installer's entries, which have no resource of their own); nothing when one cannot be read
// (error then says which, with the system's reason).
std::optional<std::string> BuildChecksums(const std::vector<std::filesystem::path>& framed,
                                          std::string& error,
                                          std::vector<setup::format::ChecksumRecord> leading = {});

}  // namespace pack
