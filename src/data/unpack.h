// Framed resources: a 4-byte little-endian length N, then one zlib stream that inflates to N bytes.
// Every payload file, the skin atlas and the licence text are stored this way.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "format/resource_ids.h"
#include "platform/resources.h"

namespace setup {

using format::kLicenceResourceName;
using format::kLicenceResourceType;
using format::kSkinResourceName;
using format::kSkinResourceType;

// Inflates a framed resource and hands its N bytes to sink in chunks, so no block of N bytes is
// ever needed. The stream's Adler-32 trailer must follow the N bytes: a damaged entry is an error,
// never a silently wrong file, and it is found before the last chunk is handed on. Errors
// (RuntimeError): shorter than 4 bytes, a stream that ends early, or an N that the data cannot
// possibly produce: "Stream read error"; damaged data or trailer, or more data than N: "Error".
// False when the sink stopped the unpacking.
bool UnpackResourceTo(Bytes resource, const ByteSink& sink);

// The same into one block of exactly N bytes; no memory for it: "Out of memory".
std::vector<std::uint8_t> UnpackResource(Bytes resource);

// Opens the resource of the given type and name and unpacks it; a missing one throws
// "Resource <name> not found".
std::vector<std::uint8_t> UnpackNamedResource(const Resources& resources, std::string_view type,
                                              std::string_view name);

// The bytes up to the first NUL, or all of them: how the licence text is taken.
std::string TextUpToNul(Bytes bytes);

}  // namespace setup
