// setup-pack's output folder: each resource's bytes in a file named after the resource with
// ".bin"; a write in progress adds ".tmp" until it is renamed into place.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace setup::format {

inline constexpr char kOutputSuffix[] = ".bin";
inline constexpr char kPartialSuffix[] = ".tmp";

std::string OutputFileName(std::string_view resource_name);

// Whether a file of the output folder is left from an earlier run: a numbered output (a framed
// payload entry or a solid block) past the counts of this run, or any interrupted write of one.
bool IsStaleOutput(std::string_view file_name, std::size_t payload_entries,
                   std::size_t solid_blocks);

}  // namespace setup::format
