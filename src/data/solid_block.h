// Reading the solid payload (format/solid_table.h): the block table, and the blocks decoded as
// they are read through the executable's file, split again into their entries.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "data/stream_decoder.h"
#include "format/solid_table.h"
#include "platform/resources.h"

namespace setup {

// Decodes one block that arrives in chunks of any size and hands its bytes to sink in chunks.
// Exactly the block's decoded size must come out of one complete stream: more, damaged data or
// a window larger than setup-pack writes is "Error"; a stream that ends early is "Stream read
// error". Never more than one output chunk and the decoder's window are held.
class BlockDecoder {
public:
    BlockDecoder(format::SolidCodec codec, const format::SolidBlock& block, const ByteSink& sink);
    BlockDecoder(format::SolidCodec, const format::SolidBlock&, ByteSink&&) = delete;  // the sink is kept by reference
    ~BlockDecoder();
    BlockDecoder(const BlockDecoder&) = delete;
    BlockDecoder& operator=(const BlockDecoder&) = delete;

    // False when the sink stopped the decoding.
    bool Feed(Bytes input);
    bool Finish();

private:
    bool Emit(std::size_t size);

    format::SolidBlock block_;
    const ByteSink& sink_;
    std::unique_ptr<StreamDecoder> decoder_;
    std::vector<std::uint8_t> out_;
    std::uint64_t produced_ = 0, consumed_ = 0;
    bool ended_ = false, stopped_ = false;
};

// The installer's block table: nothing for an installer of framed entries (no table resource);
// a table that does not decode throws "Error" (FindDamagedResource reports it before).
std::optional<format::SolidTable> ReadSolidTable(const Resources& resources);

// Receives the decoded bytes of entry after entry of a block; last marks an entry's end (an empty
// entry gets only that). False stops the decoding.
using EntryChunkSink = std::function<bool(std::size_t entry, Bytes chunk, bool last)>;

// Reads block k through the file, decodes it and hands each of its entries to sink in order.
// A missing block is "Resource <name> not found". False when the sink stopped it.
bool DecodeBlockEntries(const Resources& resources, const format::SolidTable& table,
                        std::size_t block, const EntryChunkSink& sink);

// One entry alone: its block decoded up to the entry's end, the bytes before it dropped.
bool UnpackSolidEntryTo(const Resources& resources, const format::SolidTable& table,
                        std::size_t entry, const ByteSink& sink);

}  // namespace setup
