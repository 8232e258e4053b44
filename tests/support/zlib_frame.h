// Framed resources for tests, as setup-pack frames them; a length other than the content's
// makes a damaged frame.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "format/frame.h"

namespace setup::testing {

inline std::vector<std::uint8_t> Frame(std::string_view content, std::uint32_t length) {
    std::string framed = format::FrameBytes(content);
    format::PutFrameLength(reinterpret_cast<unsigned char*>(framed.data()), length);
    return {framed.begin(), framed.end()};
}

inline std::vector<std::uint8_t> Frame(std::string_view content) {
    return Frame(content, static_cast<std::uint32_t>(content.size()));
}

}  // namespace setup::testing
