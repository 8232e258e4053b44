// Framing files for the installer (format/frame.h says what a frame is).
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "format/frame.h"

namespace pack {

using setup::format::FrameBytes;

// Frames the file source into dest, streaming, so a large file never sits in memory whole. The
// result is written under a temporary name and renamed, so dest is never left half written. The
// file must still have expected_size bytes (it was checked before). Adds the bytes read to
// progress as it goes. False with a message in error on failure.
bool FrameFile(const std::filesystem::path& source, std::uint64_t expected_size,
               const std::filesystem::path& dest, std::atomic<std::uint64_t>* progress,
               std::string& error);

}  // namespace pack
