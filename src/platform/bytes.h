// Bytes as the layers hand them on: a view of a block, and a sink that takes a file's content
// chunk by chunk as it is produced, so no layer needs a whole file in memory.
#pragma once

#include <cstdint>
#include <functional>
#include <span>

namespace setup {

using Bytes = std::span<const std::uint8_t>;

// Takes the next chunk; false asks the producer to stop (the consumer has failed).
using ByteSink = std::function<bool(Bytes chunk)>;

// Produces a content by handing it to the sink in chunks; an error of the producer is thrown.
using ContentSource = std::function<void(const ByteSink& sink)>;

}  // namespace setup
