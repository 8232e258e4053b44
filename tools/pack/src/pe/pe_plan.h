// Where the finished executable's resource section goes and what changes around it. The stub's
// own resource section is rewritten in place when nothing but base relocations follows it (they
// move up behind it); otherwise the new section is added after the last one, which needs room for
// one more section header, and the old one stays as dead bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pe/pe_image.h"

namespace pack::pe {

struct Placement {
    std::optional<std::size_t> replaced;  // the stub's resource section, when rewritten in place
    std::uint32_t address = 0;            // the new section's memory address
    std::uint64_t file_offset = 0;        // and where its raw data starts in the file
};

// Nothing, with problem set, when the stub has no room for the new section's header.
std::optional<Placement> PlaceResources(std::string_view stub, const PeImage& image,
                                        std::string& problem);

// A run of the output: stub bytes copied from an offset, or the resource section.
struct Piece {
    std::uint64_t to = 0;
    std::uint64_t from = 0;
    std::uint64_t size = 0;
    bool resources = false;
};

struct OutputPlan {
    std::string headers;        // the stub's first SizeOfHeaders bytes, updated, CheckSum 0
    std::vector<Piece> pieces;  // after the headers, in file order, gaps filled with zeros
    std::uint64_t file_size = 0;
    std::size_t checksum_at = 0;
};

// The output for a resource section of resource_size bytes. Nothing, with problem set, when the
// image would outgrow 4 GiB.
std::optional<OutputPlan> PlanOutput(std::string_view stub, const PeImage& image,
                                     const Placement& placement, std::uint32_t resource_size,
                                     std::string& problem);

}  // namespace pack::pe
