// The installer's check of itself: setup-pack writes a checksum of every framed resource beside
// them, and the installer compares before it shows anything, so a damaged download is refused
// at once instead of being found part way through copying.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/resources.h"

namespace setup {

// The name of the first resource that is missing or does not match its checksum
// (format/checksums.h), or of the checksum resource itself when it is missing or does not fit the
// list; nothing when all match. Reads through the file (Resources::ReadThrough), so the payload
// never becomes resident.
std::optional<std::string> FindDamagedResource(const Resources& resources, int file_count);

// The bytes each of the payload's entries takes once unpacked, in the list's order, from the
// checksum resource; none when it is missing (FindDamagedResource says so).
std::vector<std::uint64_t> UnpackedEntrySizes(const Resources& resources, int file_count);

}  // namespace setup
