// The executable's own resources: the string table and custom resources by type and name.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/bytes.h"

namespace setup {

class Resources {
public:
    virtual ~Resources() = default;

    // One line of the string table, read as into a 512-byte buffer: at most 511 bytes (a
    // double-byte character is never split), ending at the first NUL. A missing id gives the empty
    // line.
    virtual std::string LoadLine(unsigned id) const = 0;

    // The bytes of a custom resource; type and name are compared without regard to case.
    // Nothing when the module holds no such resource.
    virtual std::optional<Bytes> Find(std::string_view type, std::string_view name) const = 0;

    // Hands the bytes of a custom resource to sink in chunks, read through the executable's file
    // rather than its mapped image, so checking a large payload does not make the process hold it.
    // False when the resource cannot be found or read.
    virtual bool ReadThrough(std::string_view type, std::string_view name,
                             const ByteSink& sink) const = 0;
};

// The 512-byte buffer of the string loader holds at most this many bytes of text.
constexpr std::size_t kStringLineMax = 511;

}  // namespace setup
