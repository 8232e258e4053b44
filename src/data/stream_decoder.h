// The decoder of one solid block's compressed stream, whichever codec wrote it: input in, decoded
// bytes out, until the stream says it has ended. Damaged data throws "Error".
#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "format/solid_table.h"
#include "platform/bytes.h"

namespace setup {

class StreamDecoder {
public:
    struct Step {
        std::size_t consumed = 0, produced = 0;
        bool ended = false;  // the stream's end was read
    };
    virtual ~StreamDecoder() = default;
    // Decodes what it can of input into out; never more than the block's decoded size in all.
    virtual Step Decode(Bytes input, std::span<std::uint8_t> out) = 0;
};

// A stream asking for more memory than setup-pack's settings give (a larger window or
// dictionary) is not one setup-pack wrote: refused, not allocated.
std::unique_ptr<StreamDecoder> MakeStreamDecoder(format::SolidCodec codec,
                                                 const format::SolidBlock& block);
std::unique_ptr<StreamDecoder> MakeZstdDecoder();
std::unique_ptr<StreamDecoder> MakeLzmaDecoder(std::uint32_t unpacked);

}  // namespace setup
