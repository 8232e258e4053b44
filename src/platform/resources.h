// The executable's own resources: the string table and custom resources by type and name.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace setup {

using Bytes = std::span<const std::uint8_t>;

class Resources {
public:
    virtual ~Resources() = default;

    // One line of the string table, read as into a 512-byte buffer: at most 511 bytes (a double-byte
    // character is never split), ending at the first NUL. A missing id gives the empty line.
    virtual std::string LoadLine(unsigned id) const = 0;

    // The bytes of a custom resource; type and name are compared without regard to case.
    // Nothing when the module holds no such resource.
    virtual std::optional<Bytes> Find(std::string_view type, std::string_view name) const = 0;
};

// The 512-byte buffer of the string loader holds at most this many bytes of text.
constexpr std::size_t kStringLineMax = 511;

}  // namespace setup
